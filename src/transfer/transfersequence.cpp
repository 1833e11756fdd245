#include "transfersequence.h"

#include <utility>

TransferSequence::TransferSequence(QMap<QString, int> ids, bool hall, DongleFactory factory,
                                   QObject* parent)
    : QObject(parent)
    , versionWorker(factory)
    , saveWorker(factory)
    , ids(ids)
    , hall(hall)
{
    connect(&versionWorker, &VersionThread::showVersion, this, &TransferSequence::showVersion);
    connect(&saveWorker, &SaveThread::saved, this, &TransferSequence::saved);
    connect(&saveWorker, &SaveThread::notConfirmed, this, &TransferSequence::notConfirmed);
    for (DongleThread* worker : QList<DongleThread*>{&versionWorker, &saveWorker}) {
        connect(worker, &DongleThread::showError, this, &TransferSequence::showError);
        connect(worker, &QThread::finished, this, &TransferSequence::workerFinished);
    }
    rest.setSingleShot(true);
    rest.setInterval(100);
    connect(&rest, &QTimer::timeout, this, &TransferSequence::launch);
}

TransferSequence::~TransferSequence()
{
    cancel();
    versionWorker.wait();
    saveWorker.wait();
}

void TransferSequence::check()
{
    send({});
}

void TransferSequence::send(QMap<int, QByteArray> newFrames)
{
    cancel();
    frames = newFrames;
    code.clear();
    stored = 0;
    step = &versionWorker;
    launch();
}

void TransferSequence::retry()
{
    if (std::exchange(stepFailed, false))
        rest.start();
}

void TransferSequence::cancel()
{
    rest.stop();
    step = nullptr;
    stepFailed = false;
    resultWanted = false;
    launchWhenFree = false;
    versionWorker.stop();
    saveWorker.stop();
}

void TransferSequence::launch()
{
    // The line carries one exchange at a time: a run still under way, a cancelled one
    // included, ends before the next one starts.
    if (lineBusy) {
        launchWhenFree = true;
        return;
    }
    if (step == &saveWorker)
        saveWorker.setData(slot, frames.value(slot), hall);
    lineBusy = true;
    resultWanted = true;
    step->start();
}

void TransferSequence::workerFinished()
{
    // A run's result comes through before its end.
    lineBusy = false;
    if (std::exchange(launchWhenFree, false))
        launch();
}

bool TransferSequence::takeResult()
{
    // The result of a cancelled run may already have been on its way when it was cancelled.
    return std::exchange(resultWanted, false);
}

void TransferSequence::showVersion(QByteArray version)
{
    if (!takeResult())
        return;
    const int zero = version.indexOf('\0');
    code = QString::fromLatin1(zero < 0 ? version : version.left(zero)).left(3);
    if (!ids.contains(code)) {
        fail(TransferError::WheelUnknown);
        return;
    }
    const int capacity = ids.value(code);
    queue.clear();
    QList<int> leftOut;
    for (int frameSlot : frames.keys())
        (frameSlot < capacity ? queue : leftOut) << frameSlot;
    emit identified(code, capacity, leftOut);
    // Unless a receiver cancelled.
    if (step == &versionWorker)
        storeNext();
}

void TransferSequence::storeNext()
{
    if (queue.isEmpty()) {
        step = nullptr;
        emit finished(stored);
        return;
    }
    slot = queue.takeFirst();
    step = &saveWorker;
    rest.start();
    emit storing(slot);
}

void TransferSequence::saved()
{
    if (!takeResult())
        return;
    ++stored;
    emit confirmed(slot);
    if (step == &saveWorker)
        storeNext();
}

void TransferSequence::notConfirmed(Dongle_::ERROR storeStatus)
{
    if (!takeResult())
        return;
    status = storeStatus;
    fail(TransferError::NotConfirmed);
}

void TransferSequence::showError(TransferError error)
{
    if (takeResult())
        fail(error);
}

void TransferSequence::fail(TransferError error)
{
    stepFailed = true;
    emit failed(error);
}

QString TransferSequence::slotNumbers(const QList<int>& chosen)
{
    QStringList numbers;
    for (int slot : chosen)
        numbers << QString::number(slot + 1);
    return numbers.join(", ");
}
