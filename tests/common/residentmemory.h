#ifndef RESIDENTMEMORY_H
#define RESIDENTMEMORY_H

#include <QFile>

// The process's resident memory in kilobytes, or -1 where it tells nothing: without /proc, and
// under AddressSanitizer, whose red zones and quarantine hold far more than the program does.
inline long residentKilobytes()
{
#if defined(__SANITIZE_ADDRESS__)
    return -1;
#endif
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

#endif
