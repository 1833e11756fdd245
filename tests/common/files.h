#ifndef FILES_H
#define FILES_H

#include <QByteArray>
#include <QFile>

#include <functional>
#ifndef Q_OS_WIN
#include <csignal>
#include <sys/resource.h>
#endif

// The bytes of a file; "none" when it cannot be read, so that an empty file tells.
inline QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : "none";
}

#ifndef Q_OS_WIN
// Runs write with files limited to the given size, as a full disk stops a write; its result.
inline bool writesWithin(qint64 bytes, const std::function<bool()>& write)
{
    rlimit old;
    if (getrlimit(RLIMIT_FSIZE, &old) != 0)
        qFatal("cannot read the file size limit");
    const rlimit small{rlim_t(bytes), old.rlim_max};
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    if (setrlimit(RLIMIT_FSIZE, &small) != 0)
        qFatal("cannot limit the file size");
    const bool written = write();
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, previous);
    return written;
}
#endif

#endif
