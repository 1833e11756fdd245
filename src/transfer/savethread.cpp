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
    const std::unique_ptr<Dongle_> dongle = makeDongle();
    if (click) {
        // A wheel with a hall sensor is woken before each store.
        dongle->click();
        msleep(100);
        if (stopped)
            return;
    }
    const bool confirmed = dongle->save(char(slot & 0xFF), data);
    if (stopped)
        return;
    // Whatever the status, a store without its CRC back is one the wheel may not have.
    if (confirmed)
        emit saved();
    else
        emit notConfirmed(dongle->getError());
}
