#include "updatearchive.h"

#include "resources/hiddenfile.h"
#include "resources/resource.h"

#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QProcess>
#include <QWidget>

namespace {

// The exit code of unzip, or -1 when it could not be run to its end.
int unzip(const QString& option)
{
    QProcess process;
    process.start("unzip", {option, "setup.zip"});
    if (!process.waitForStarted() || !process.waitForFinished(-1) ||
        process.exitStatus() != QProcess::NormalExit)
        return -1;
    return process.exitCode();
}

} // namespace

bool UpdateArchive::install(QWidget* splash)
{
    if (HiddenFile::exists("autoupdate") || !QFile::exists("setup.zip"))
        return false;
    if (unzip("-t") != 0) {
        QFile::remove("setup.zip");
        return false;
    }

    const QString text =
        Resource::getText("UPDATE_VERSION") + "<br>" + Resource::getText("UPDATE") + "?";
    const int answer = QMessageBox::information(
        splash, "Rimglow!", text, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
    if (splash)
        splash->repaint();
    if (answer != QMessageBox::Yes) {
        HiddenFile::write("autoupdate", "");
        return false;
    }

    unzip("-o");
    if (!QFile::exists("setup.bat"))
        return false;
    // The updater replaces this program's files, so it is started from the current directory
    // and left running on its own while the program ends.
    QProcess::startDetached(QDir::current().absoluteFilePath(updaterName()), {},
                            QDir::currentPath());
    return true;
}

const char* UpdateArchive::updaterName()
{
#ifdef Q_OS_WIN
    return "update.exe";
#else
    return "update";
#endif
}
