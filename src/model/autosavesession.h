#ifndef AUTOSAVESESSION_H
#define AUTOSAVESESSION_H

#include <QLockFile>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

// A folder of autosaves in the program's data folder, marked by a lock file beside it as the
// work of one running program. The lock names the program's process; once that process is
// gone, the lock can be taken and the folder holds work to recover.
class AutosaveSession {
public:
    // This program's own session; its lock and folder are made with its first file.
    AutosaveSession();
    // Our own session goes with all its files: the program ends cleanly. A session taken over
    // from an ended program goes when nothing is left in it.
    ~AutosaveSession();
    AutosaveSession(const AutosaveSession&) = delete;
    AutosaveSession& operator=(const AutosaveSession&) = delete;

    // Where a file of this session goes; empty, with the reason in errorString(), when the
    // session cannot be made.
    QString filePath(const QString& name);
    QStringList files() const;
    QString errorString() const { return error; }

    // The sessions of programs no longer running, taken over by this one until released: no
    // other program offers them meanwhile.
    static std::vector<std::unique_ptr<AutosaveSession>> abandoned();
    // Moves a file that cannot be read out of the way, where the user can still find it;
    // returns where it went.
    static QString setAside(const QString& path);
    static QString root();

private:
    AutosaveSession(const QString& id, bool own);
    QString folder() const;

    QString id;
    bool own;
    QLockFile lock;
    QString error;
};

#endif
