#ifndef TRANSMITTER_H
#define TRANSMITTER_H

#include "savethread.h"
#include "versionthread.h"

#include <QElapsedTimer>
#include <QMap>
#include <QProgressDialog>
#include <QTimer>

// The progress dialog of a transfer: asks the wheel who it is, stores every picture whose
// slot the wheel model has, one store at a time on a worker thread, shows an estimated
// progress, and offers Retry or Cancel when a step fails. The main window is hidden while it
// runs.
class Transmitter : public QProgressDialog {
    Q_OBJECT
public:
    Transmitter(QMap<QString, int> ids, bool hall, QWidget* parent);
    ~Transmitter() override;

public slots:
    void checkVersion();
    void saveImage(QMap<int, QByteArray> data);
    void showError(TransferError error);
    void showVersion(QByteArray version);
    void saved();
    void stepOne();

signals:
    // Every picture the wheel model has a slot for was stored and confirmed.
    void stored(int count);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // Starts the current worker; one still busy with a stopped run is waited for first.
    void launch();
    void launchLater();
    QList<DongleThread*> workers();

    DongleThread* currentWorker = nullptr;
    VersionThread versionWorker;
    SaveThread saveWorker;
    QMap<QString, int> ids;
    QMap<int, QByteArray> pictures;
    QTimer progressTimer;
    QTimer delayedStart;
    QElapsedTimer clock;
    int currentIndex = 0;
    int baseValue = 0;
    int total = 0;
    bool hall;
    int pendingSlot = 0;
    QByteArray pendingData;
};

#endif
