#include "donglethread.h"

DongleThread::DongleThread(QObject* parent)
    : QThread(parent)
{
}

bool DongleThread::errorControl(Dongle_::ERROR const& status)
{
    switch (status) {
    case Dongle_::NOT_FOUND:
    case Dongle_::SEND_FAILED:
        emit showError(CHECK_DONGLE);
        return true;
    case Dongle_::NO_ACCESS:
        emit showError(DONGLE_ACCESS);
        return true;
    case Dongle_::RECEIVE_FAILED:
        emit showError(CHECK_WHEEL);
        return true;
    default:
        return false;
    }
}
