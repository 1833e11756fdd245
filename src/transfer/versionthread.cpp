#include "versionthread.h"

void VersionThread::run()
{
    stopped = false;
    Transport dongle;
    dongle.click();
    const QByteArray reply = dongle.getId();
    if (stopped)
        return;
    if (errorControl(dongle.getError()))
        return;
    emit showVersion(reply);
}
