#include "batchsender.h"

BatchSender::BatchSender(QMap<QString, int> ids, bool hall)
    : ids(ids)
    , hall(hall)
{
    connect(&versionWorker, &VersionThread::showVersion, this, &BatchSender::showVersion);
    connect(&versionWorker, &DongleThread::showError, this, &BatchSender::showError);
    connect(&saveWorker, &DongleThread::showError, this, &BatchSender::showError);
    connect(&saveWorker, &SaveThread::saved, this, &BatchSender::saved);
    // The wheel gets the same rest before every store as from the transfer dialog.
    delayedStore.setSingleShot(true);
    delayedStore.setInterval(100);
    connect(&delayedStore, &QTimer::timeout, &saveWorker, [this] { saveWorker.start(); });
}

BatchSender::~BatchSender()
{
    cancel();
    // An exchange under way ends on the line before its worker goes.
    versionWorker.wait();
    saveWorker.wait();
}

void BatchSender::check()
{
    checking = true;
    running = true;
    versionWorker.start();
}

void BatchSender::send(QMap<int, QByteArray> newFrames)
{
    frames = newFrames;
    queue = frames.keys();
    checking = false;
    running = true;
    versionWorker.start();
}

void BatchSender::cancel()
{
    running = false;
    delayedStore.stop();
    versionWorker.stop();
    saveWorker.stop();
}

void BatchSender::showVersion(QByteArray version)
{
    if (!running)
        return;
    const int zero = version.indexOf('\0');
    code = QString::fromLatin1(zero < 0 ? version : version.left(zero)).left(3);
    if (!ids.contains(code)) {
        finish(WheelUnknown);
        return;
    }
    const int capacity = ids.value(code);
    emit identified(code, capacity);
    if (!running)
        return;
    // Like the transfer dialog, never store into a slot the wheel does not have.
    queue.removeIf([capacity](int slot) { return slot >= capacity; });
    if (checking)
        finish(Done);
    else
        storeNext();
}

void BatchSender::storeNext()
{
    if (queue.isEmpty()) {
        finish(Done);
        return;
    }
    currentSlot = queue.takeFirst();
    saveWorker.setData(currentSlot, frames.value(currentSlot), hall);
    emit storing(currentSlot);
    delayedStore.start();
}

void BatchSender::saved()
{
    if (!running)
        return;
    emit confirmed(currentSlot);
    storeNext();
}

void BatchSender::showError(TransferError error)
{
    if (!running)
        return;
    finish(error == TransferError::NoDongle       ? NoDongle
           : error == TransferError::NoAccess     ? NoAccess
           : error == TransferError::NotConfirmed ? NotConfirmed
                                                  : WheelSilent);
}

void BatchSender::finish(Outcome outcome)
{
    running = false;
    emit finished(outcome);
}
