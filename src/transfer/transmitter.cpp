#include "transmitter.h"

#include "resources/resource.h"

#include <QCloseEvent>
#include <QMessageBox>
#include <QPushButton>

Transmitter::Transmitter(QMap<QString, int> ids, bool hall, QWidget* parent)
    : QProgressDialog(parent)
    , ids(ids)
    , hall(hall)
{
    connect(&versionWorker, &VersionThread::showVersion, this, &Transmitter::showVersion);
    connect(&versionWorker, &DongleThread::showError, this, &Transmitter::showError);
    connect(&saveWorker, &DongleThread::showError, this, &Transmitter::showError);
    connect(&saveWorker, &SaveThread::saved, this, &Transmitter::saved);
    connect(&progressTimer, &QTimer::timeout, this, &Transmitter::stepOne);
    connect(this, &QProgressDialog::canceled, this, &QWidget::close);
    setAutoClose(false);
    setAutoReset(false);
    Resource::addText(this, "windowTitle", "CONNECTION");
    progressTimer.setInterval(1);
    delayedStart.setSingleShot(true);
    delayedStart.setInterval(100);
    connect(&delayedStart, &QTimer::timeout, this, &Transmitter::launch);
    // A progress dialog shows itself after a while unless reset; this one waits for a transfer.
    reset();
}

Transmitter::~Transmitter()
{
    Resource::remove(this);
    // A worker blocked in an exchange finishes it first, so the wheel never gets a cut
    // message; its result goes nowhere, and no later step starts.
    delayedStart.stop();
    for (DongleThread* worker : workers()) {
        disconnect(worker, &QThread::finished, this, &Transmitter::launch);
        worker->stop();
        worker->wait();
    }
}

void Transmitter::launch()
{
    // The line carries one exchange at a time: a stopped run of either worker (a cancelled
    // transfer's identity request or store) ends before the next one starts.
    for (DongleThread* busy : workers())
        if (busy->isRunning()) {
            connect(busy, &QThread::finished, this, &Transmitter::launch,
                    Qt::ConnectionType(Qt::SingleShotConnection | Qt::UniqueConnection));
            return;
        }
    if (currentWorker == &saveWorker)
        saveWorker.setData(pendingSlot, pendingData, hall);
    currentWorker->start();
}

QList<DongleThread*> Transmitter::workers()
{
    return {&versionWorker, &saveWorker};
}

void Transmitter::launchLater()
{
    delayedStart.start();
}

void Transmitter::saveImage(QMap<int, QByteArray> data)
{
    pictures = data;
    currentWorker = &versionWorker;
    launch();
    clock.restart();
    reset();
    setMaximum(10000);
    setValue(0);
    setLabelText(Resource::getText("CONNECTION"));
    setCancelButtonText(Resource::getText("CANCEL"));
    show();
    if (parentWidget())
        parentWidget()->hide();
}

void Transmitter::checkVersion()
{
    currentWorker = &versionWorker;
    launch();
}

void Transmitter::showVersion(QByteArray version)
{
    const int zero = version.indexOf('\0');
    const QString code = QString::fromLatin1(zero < 0 ? version : version.left(zero)).left(3);
    if (!ids.contains(code)) {
        showError(TransferError::WheelUnknown);
        return;
    }
    if (!isVisible()) {
        QMessageBox::about(parentWidget(), Resource::getText("TITLE"),
                           Resource::getText("VERSION") + " : " + code.mid(2, 1));
        return;
    }
    currentIndex = 0;
    const int capacity = ids.value(code);
    total = 0;
    for (int slot : pictures.keys())
        total += slot < capacity;
    saved();
}

void Transmitter::saved()
{
    if (currentIndex == total) {
        close();
        if (total > 0)
            emit stored(total);
        return;
    }
    qint64 t = qMax<qint64>(clock.restart(), 1);
    if (currentIndex == 0) {
        // The first step stands for the connection, a store takes about seven times as long.
        t *= 7;
        progressTimer.start();
    }
    baseValue = int(qMin<qint64>(t * currentIndex, INT_MAX));
    setMaximum(int(qMin<qint64>(t * total, INT_MAX)));
    setValue(baseValue);

    const int slot = pictures.keys().at(currentIndex);
    pendingSlot = slot;
    pendingData = pictures.value(slot);
    currentWorker = &saveWorker;
    launchLater();
    setLabelText(Resource::getText("RENEW").replace('1', QString::number(slot + 1)));
    ++currentIndex;
}

void Transmitter::stepOne()
{
    if (value() < maximum())
        setValue(value() + 1);
}

void Transmitter::showError(TransferError error)
{
    progressTimer.stop();
    QWidget* owner = parentWidget() && parentWidget()->isVisible() ? parentWidget() : this;
    const char* text = error == TransferError::NoDongle       ? "CHECK_USB"
                       : error == TransferError::NoAccess     ? "USB_ACCESS"
                       : error == TransferError::NotConfirmed ? "TRANS_FAIL"
                                                              : "CHECK_LIGHT";
    const bool dongle = error == TransferError::NoDongle || error == TransferError::NoAccess;
    const char* picture = dongle                                 ? "USB"
                          : error == TransferError::NotConfirmed ? "TRANSMIT"
                                                                 : "DONGLE";
    QMessageBox box(owner);
    box.setText(Resource::getText(text));
    box.setIconPixmap(Resource::getPixmap(picture));
    QPushButton* retry = box.addButton(Resource::getText("RETRY"), QMessageBox::AcceptRole);
    box.addButton(Resource::getText("CANCEL"), QMessageBox::RejectRole);
    box.setWindowTitle(Resource::getText("TRANS_FAIL"));
    box.setWindowIcon(Resource::getIcon("LOGO"));
    box.exec();
    if (box.clickedButton() != retry) {
        close();
        return;
    }
    launchLater();
    clock.restart();
    progressTimer.start();
    if (isVisible())
        setValue(baseValue);
}

void Transmitter::closeEvent(QCloseEvent* event)
{
    progressTimer.stop();
    delayedStart.stop();
    if (currentWorker)
        currentWorker->stop();
    // A start waiting for a stopped run must not follow the closed transfer.
    for (DongleThread* worker : workers())
        disconnect(worker, &QThread::finished, this, &Transmitter::launch);
    QProgressDialog::closeEvent(event);
    hide();
    if (parentWidget())
        parentWidget()->show();
}
