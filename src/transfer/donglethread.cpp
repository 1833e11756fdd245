#include "donglethread.h"

#ifdef Q_OS_WIN
#include "windongle.h"
#else
#include "ftdidongle.h"
#endif

std::unique_ptr<Dongle_> DongleThread::platformDongle()
{
#ifdef Q_OS_WIN
    return std::make_unique<WinDongle>();
#else
    return std::make_unique<FtdiDongle>();
#endif
}

DongleThread::DongleThread(DongleFactory factory, QObject* parent)
    : QThread(parent)
    , makeDongle(std::move(factory))
{
}

bool DongleThread::errorControl(Dongle_::ERROR const& status)
{
    switch (status) {
    case Dongle_::NOT_FOUND:
    case Dongle_::SEND_FAILED:
        emit showError(TransferError::NoDongle);
        return true;
    case Dongle_::NO_ACCESS:
        emit showError(TransferError::NoAccess);
        return true;
    case Dongle_::RECEIVE_FAILED:
        emit showError(TransferError::WheelSilent);
        return true;
    default:
        return false;
    }
}
