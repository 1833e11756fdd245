#include "hiddenfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {

// State files must not land in whatever folder the program was started from, so on Linux
// relative names live in the user's configuration folder of the program.
QString baseFolder()
{
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
    return QDir::currentPath();
#else
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
#endif
}

// A hand-edited or damaged state file must not be read into memory whole.
const qint64 maxFileSize = 64 * 1024;

} // namespace

QString HiddenFile::getFileName(QString const& name)
{
    const QFileInfo given(name);
    const QFileInfo info(given.isAbsolute() ? name : baseFolder() + "/" + name);
    return info.absolutePath() + "/." + info.fileName();
}

bool HiddenFile::exists(QString const& name)
{
    return QFileInfo(getFileName(name)).isFile();
}

QString HiddenFile::read(QString const& name)
{
    QFile file(getFileName(name));
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    QByteArray bytes = file.read(maxFileSize);
    const int zero = bytes.indexOf('\0');
    if (zero >= 0)
        bytes.truncate(zero);
    return QString::fromLatin1(bytes);
}

bool HiddenFile::write(QString const& name, QString const& text)
{
    const QString fileName = getFileName(name);
    if (!QDir().mkpath(QFileInfo(fileName).absolutePath()))
        return false;
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(text.toUtf8());
    // A last write that fails is noticed by flush, not by commit.
    if (!file.flush() || !file.commit())
        return false;
#ifdef Q_OS_WIN
    const QString native = QDir::toNativeSeparators(fileName);
    SetFileAttributesW(reinterpret_cast<LPCWSTR>(native.utf16()), FILE_ATTRIBUTE_HIDDEN);
#endif
    return true;
}
