#include "savethread.h"

void SaveThread::setData(int const& newSlot, QByteArray const& newData, bool newClick)
{
    data = newData;
    slot = newSlot;
    click = newClick;
}

void SaveThread::run()
{
    stopped = false;
    Transport dongle;
    if (click) {
        // A wheel with a hall sensor is woken before each store.
        dongle.click();
        msleep(100);
        if (stopped)
            return;
    }
    const bool confirmed = dongle.save(char(slot & 0xFF), data);
    if (stopped)
        return;
    if (confirmed)
        emit saved();
    else
        emit showError(TRANSFER_FAILED);
}
