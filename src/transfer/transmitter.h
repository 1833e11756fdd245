#ifndef TRANSMITTER_H
#define TRANSMITTER_H

#include "storeestimate.h"
#include "transfersequence.h"

#include <QElapsedTimer>
#include <QMap>
#include <QProgressDialog>
#include <QTimer>

// The progress dialog of a transfer: runs the transfer sequence, shows an estimated progress
// and the time left, and offers Retry or Cancel when a step fails. The main window is hidden
// while it runs.
class Transmitter : public QProgressDialog {
    Q_OBJECT
public:
    // ids and hall as for the sequence; factory makes the transport of each exchange.
    Transmitter(QMap<QString, int> ids, bool hall, QWidget* parent,
                DongleFactory factory = DongleThread::platformDongle);
    ~Transmitter() override;

    // "n pictures stored in the wheel.", in the singular for one.
    static QString storedText(int count);

public slots:
    void checkVersion();
    void saveImage(QMap<int, QByteArray> data);
    void showError(TransferError error);
    void stepOne();

signals:
    // Every picture the wheel model has a slot for was stored and confirmed.
    void stored(int count);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void identified(const QString& code, int wheelCapacity, const QList<int>& outside);
    void storing(int slot);
    void showTimeLeft();
    void ended(int count);
    // What the user needs beyond the failure's own words: the wheel's code and the codes the
    // product knows, or the slot whose store failed, what was stored before it, and why.
    QString failureDetail(TransferError error) const;

    TransferSequence sequence;
    bool hall;
    QTimer progressTimer;
    QTimer leftTimer;
    // Since the start of the step under way.
    QElapsedTimer clock;
    qsizetype pictureCount = 0;
    int currentIndex = 0;
    int baseValue = 0;
    int total = 0;
    int frameBytes = 0;
    StoreEstimate estimate;
    int confirmedCount = 0;
    // The label of the store under way, without the time left.
    QString storingText;
    // The ticked slots beyond the wheel's capacity, and that capacity.
    QList<int> leftOut;
    int capacity = 0;
};

#endif
