#ifndef RESIDENTMEMORY_H
#define RESIDENTMEMORY_H

#include <QFile>

// The process's resident memory in kilobytes, or -1 where /proc does not tell.
inline long residentKilobytes()
{
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

#endif
