; The Windows installer of Rimglow, made by the build's "installer" target:
;   makensis -DSTAGE=folder -DVERSION=4.0 -DVENDOR=name -DICON=file.ico
;            -DREMOVE_FILES=file.nsh -DOUTFILE=rimglow-setup.exe rimglow.nsi
; STAGE holds the program as "cmake --install" lays it out; REMOVE_FILES is the list of those
; files for the uninstaller (made from STAGE by uninstallfiles.cmake).
;
; It installs for the current user without administrator rights, into the user's own program
; folder: the program keeps its state files and downloaded updates in its own folder, which
; must therefore be writable by the user.

Unicode true
; The programs are 64-bit, and so is the installer: 32-bit Windows refuses to start it, and
; it sees the 64-bit registry and folders without redirection.
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Rimglow"
; The arguments of the example product whose design comes with the program.
!define PRODUCT_ARGUMENTS "-n DEMO -s 128x32 -o 80 -i 16 -v D12x12+D08x8 -c red+blue+redxblue+redxgreenxblue"

Name "Rimglow"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Rimglow"
; An update goes where the installed version is.
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"

!include "MUI2.nsh"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

; The languages of the program itself; the installer picks the user's.
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "German"
!insertmacro MUI_LANGUAGE "TradChinese"

Section
    SetOutPath "$INSTDIR"
    File /r "${STAGE}/*"
    WriteUninstaller "$INSTDIR\uninstall.exe"

    ; The program reads its resources from the current directory, so the shortcut starts it
    ; in its folder: the folder set by SetOutPath above.
    CreateShortcut "$SMPROGRAMS\Rimglow.lnk" "$INSTDIR\rimglow.exe" "${PRODUCT_ARGUMENTS}" \
        "$INSTDIR\rimglow.exe" 0

    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Rimglow"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${VENDOR}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\rimglow.exe,0"
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
    ; Only what was installed, and what the program made in its folder, goes: designs the user
    ; saved into File\ stay, and with them that folder and the install folder.
    !include "${REMOVE_FILES}"

    ; The program's state files, a downloaded update and what it unpacked to run the updater.
    Delete "$INSTDIR\.language"
    Delete "$INSTDIR\.hall"
    Delete "$INSTDIR\.autoupdate"
    Delete "$INSTDIR\setup.zip"
    Delete "$INSTDIR\setup.bat"
    Delete "$INSTDIR\update.exe"

    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"

    Delete "$SMPROGRAMS\Rimglow.lnk"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
