#ifndef TRANSFERSEQUENCE_H
#define TRANSFERSEQUENCE_H

#include "savethread.h"
#include "transfererror.h"
#include "versionthread.h"

#include <QList>
#include <QMap>
#include <QObject>
#include <QStringList>
#include <QTimer>

// One transfer to a wheel, for the dialog and the command line alike: asks the wheel who it
// is, looks up how many pictures its model holds, and stores the frames whose slots it has in
// ascending order, each after a rest of 100 ms, one exchange at a time on the worker threads.
// A failed step waits for retry or cancel.
class TransferSequence : public QObject {
    Q_OBJECT
public:
    // ids: identity code -> picture count of each wheel model of the product; hall: the
    // wheel is woken by a click before each store.
    TransferSequence(QMap<QString, int> ids, bool hall,
                     DongleFactory factory = DongleThread::platformDongle,
                     QObject* parent = nullptr);
    // Waits for an exchange under way to end on the line.
    ~TransferSequence() override;

    // Only asks the identity; finished follows identified.
    void check();
    // Asks the identity, then stores the frames (slot -> frame) whose slots the wheel has.
    void send(QMap<int, QByteArray> frames);
    // After failed: the step that failed again, the identity request or the same store.
    void retry();
    // Drops the rest of the transfer: an exchange under way still ends on the line, but
    // nothing follows, not even its result.
    void cancel();

    // The identity code of the last answer, known to the product or not.
    QString wheelCode() const { return code; }
    // The identity codes the product knows.
    QStringList knownCodes() const { return ids.keys(); }
    // The slot of the last store, the pictures this transfer stored, and how the last store
    // that was not confirmed failed (OK: the wheel answered with a wrong checksum).
    int storeSlot() const { return slot; }
    int storedCount() const { return stored; }
    Dongle_::ERROR storeStatus() const { return status; }
    // Slots as the user counts them, from 1: "1, 3, 9".
    static QString slotNumbers(const QList<int>& chosen);

signals:
    // A wheel the product knows answered; the slots in leftOut are beyond its capacity and
    // are not stored.
    void identified(QString code, int capacity, QList<int> leftOut);
    void storing(int slot);
    void confirmed(int slot);
    void failed(TransferError error);
    void finished(int stored);

private:
    void launch();
    void workerFinished();
    bool takeResult();
    void showVersion(QByteArray version);
    void saved();
    void notConfirmed(Dongle_::ERROR storeStatus);
    void showError(TransferError error);
    void fail(TransferError error);
    void storeNext();

    VersionThread versionWorker;
    SaveThread saveWorker;
    QTimer rest;
    QMap<QString, int> ids;
    bool hall;
    QMap<int, QByteArray> frames;
    QList<int> queue;
    QString code;
    int slot = -1;
    int stored = 0;
    Dongle_::ERROR status = Dongle_::OK;
    // The worker of the step under way or failed; none when idle.
    DongleThread* step = nullptr;
    bool stepFailed = false;
    // A run was started and its end has not come through here yet; its result counts only
    // while wanted.
    bool lineBusy = false;
    bool resultWanted = false;
    bool launchWhenFree = false;
};

#endif
