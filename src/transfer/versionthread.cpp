#include "versionthread.h"

void VersionThread::run()
{
    stopped = false;
    const std::unique_ptr<Dongle_> dongle = makeDongle();
    dongle->click();
    const QByteArray reply = dongle->getId();
    if (stopped)
        return;
    if (errorControl(dongle->getError()))
        return;
    emit showVersion(reply);
}
