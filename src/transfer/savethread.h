#ifndef SAVETHREAD_H
#define SAVETHREAD_H

#include "donglethread.h"

// Stores one picture's frame data in one slot of the wheel.
class SaveThread : public DongleThread {
    Q_OBJECT
public:
    using DongleThread::DongleThread;

    // Only while the thread does not run.
    void setData(int const& slot, QByteArray const& data, bool click);

signals:
    void saved();
    // The store was not confirmed; the status tells why (OK: the wheel answered with a wrong
    // checksum).
    void notConfirmed(Dongle_::ERROR status);

protected:
    void run() override;

private:
    QByteArray data;
    int slot = 0;
    bool click = false;
};

#endif
