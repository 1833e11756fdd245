#ifndef VERSIONTHREAD_H
#define VERSIONTHREAD_H

#include "donglethread.h"

// Asks the wheel for its identity.
class VersionThread : public DongleThread {
    Q_OBJECT
public:
    using DongleThread::DongleThread;

signals:
    void showVersion(QByteArray version);

protected:
    void run() override;
};

#endif
