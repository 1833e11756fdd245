#include "autosavesession.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUuid>

namespace {

const char* const lockSuffix = ".lock";

QString lockPath(const QString& id)
{
    return AutosaveSession::root() + "/" + id + lockSuffix;
}

} // namespace

AutosaveSession::AutosaveSession()
    : AutosaveSession(QUuid::createUuid().toString(QUuid::WithoutBraces), true)
{
}

AutosaveSession::AutosaveSession(const QString& id, bool own)
    : id(id)
    , own(own)
    , lock(lockPath(id))
{
    // A running program holds its lock for as long as it runs; only a lock whose program is
    // gone is stale, however old it is.
    lock.setStaleLockTime(0);
}

AutosaveSession::~AutosaveSession()
{
    if (!lock.isLocked())
        return;
    if (own)
        QDir(folder()).removeRecursively();
    else
        QDir().rmdir(folder());
    // Only now: a folder without its lock is there for any program to take over.
    lock.unlock();
}

QString AutosaveSession::root()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) + "/autosave";
}

QString AutosaveSession::folder() const
{
    return root() + "/" + id;
}

QString AutosaveSession::filePath(const QString& name)
{
    // The lock comes first, so that no other program finds the folder without it.
    if (!lock.isLocked() && !(QDir().mkpath(root()) && lock.tryLock(0))) {
        error = QDir::toNativeSeparators(lock.fileName());
        return QString();
    }
    if (!QDir().mkpath(folder())) {
        error = QDir::toNativeSeparators(folder());
        return QString();
    }
    return folder() + "/" + name;
}

QStringList AutosaveSession::files() const
{
    QStringList paths;
    const QDir place(folder());
    for (const QString& name : place.entryList(QDir::Files, QDir::Name))
        paths << place.filePath(name);
    return paths;
}

std::vector<std::unique_ptr<AutosaveSession>> AutosaveSession::abandoned()
{
    std::vector<std::unique_ptr<AutosaveSession>> found;
    const QDir top(root());
    for (const QString& id : top.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        std::unique_ptr<AutosaveSession> session(new AutosaveSession(id, false));
        if (session->lock.tryLock(0))
            found.push_back(std::move(session));
    }
    return found;
}

QString AutosaveSession::setAside(const QString& path)
{
    const QFileInfo file(path);
    const QString aside = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) +
                          "/damaged autosaves";
    const QString target = aside + "/" + file.dir().dirName() + "-" + file.fileName();
    if (QDir().mkpath(aside) && QFile::rename(path, target))
        return target;
    return path;
}
