#ifndef BATCHSENDER_H
#define BATCHSENDER_H

#include "savethread.h"
#include "versionthread.h"

#include <QMap>
#include <QObject>
#include <QTimer>

// A transfer without a window, for the command line: asks the wheel who it is, then stores
// the frames one after the other with the same pauses as the transfer dialog, and ends at the
// first failure instead of asking whether to retry.
class BatchSender : public QObject {
    Q_OBJECT
public:
    enum Outcome { Done, NoDongle, NoAccess, WheelSilent, WheelUnknown, NotConfirmed };

    BatchSender(QMap<QString, int> ids, bool hall);
    ~BatchSender() override;

    // Only asks the identity; finished follows identified.
    void check();
    // Asks the identity, then stores the frames whose slots the wheel has; the caller decides
    // from identified whether a missing slot is an error, and stops the transfer with cancel.
    void send(QMap<int, QByteArray> frames);
    void cancel();

    QString wheelCode() const { return code; }

signals:
    void identified(QString code, int capacity);
    void storing(int slot);
    void confirmed(int slot);
    void finished(BatchSender::Outcome outcome);

private slots:
    void showVersion(QByteArray version);
    void showError(TransferError error);
    void saved();

private:
    void storeNext();
    void finish(Outcome outcome);

    VersionThread versionWorker;
    SaveThread saveWorker;
    QTimer delayedStore;
    QMap<QString, int> ids;
    QMap<int, QByteArray> frames;
    QList<int> queue;
    QString code;
    bool hall;
    bool checking = false;
    bool running = false;
    int currentSlot = -1;
};

#endif
