# Writes the uninstaller's commands that remove the files of the staging folder STAGE from the
# install folder, and then their folders if nothing else is left in them, deepest first:
#   cmake -DSTAGE=folder -DOUTPUT=file.nsh -P uninstallfiles.cmake
# A list of its own rather than a recursive delete, so that a user's files in the install
# folder survive the uninstaller.

file(GLOB_RECURSE files LIST_DIRECTORIES false RELATIVE ${STAGE} ${STAGE}/*)
file(GLOB_RECURSE entries LIST_DIRECTORIES true RELATIVE ${STAGE} ${STAGE}/*)
set(folders ${entries})
list(REMOVE_ITEM folders ${files})
list(SORT files)
# Reversed, a folder comes after every folder inside it.
list(SORT folders)
list(REVERSE folders)

set(text "")
foreach(file ${files})
    string(REPLACE "/" "\\" file "${file}")
    string(APPEND text "Delete \"$INSTDIR\\${file}\"\n")
endforeach()
foreach(folder ${folders})
    string(REPLACE "/" "\\" folder "${folder}")
    string(APPEND text "RMDir \"$INSTDIR\\${folder}\"\n")
endforeach()
file(WRITE ${OUTPUT} "${text}")
