#include "transmitter.h"

#include "resources/resource.h"

#include <QCloseEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QtMath>

Transmitter::Transmitter(QMap<QString, int> ids, bool hall, QWidget* parent, DongleFactory factory)
    : QProgressDialog(parent)
    , sequence(ids, hall, factory)
    , hall(hall)
{
    connect(&sequence, &TransferSequence::identified, this, &Transmitter::identified);
    connect(&sequence, &TransferSequence::storing, this, &Transmitter::storing);
    connect(&sequence, &TransferSequence::confirmed, this, [this] { ++confirmedCount; });
    connect(&sequence, &TransferSequence::failed, this, &Transmitter::showError);
    connect(&sequence, &TransferSequence::finished, this, &Transmitter::ended);
    connect(&progressTimer, &QTimer::timeout, this, &Transmitter::stepOne);
    connect(this, &QProgressDialog::canceled, this, &QWidget::close);
    setAutoClose(false);
    setAutoReset(false);
    Resource::addText(this, "windowTitle", "CONNECTION");
    progressTimer.setInterval(1);
    leftTimer.setInterval(250);
    connect(&leftTimer, &QTimer::timeout, this, &Transmitter::showTimeLeft);
    // A progress dialog shows itself after a while unless reset; this one waits for a transfer.
    reset();
}

Transmitter::~Transmitter()
{
    Resource::remove(this);
}

QString Transmitter::storedText(int count)
{
    return count == 1 ? Resource::getText("STORED_ONE") : Resource::getText("STORED").arg(count);
}

void Transmitter::saveImage(QMap<int, QByteArray> data)
{
    pictureCount = data.size();
    // A transfer's frames are all of the wheel's size.
    frameBytes = data.isEmpty() ? 0 : int(data.first().size());
    storingText.clear();
    sequence.send(data);
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
    sequence.check();
}

void Transmitter::identified(const QString& code, int wheelCapacity, const QList<int>& outside)
{
    if (!isVisible()) {
        QMessageBox::about(parentWidget(), Resource::getText("TITLE"),
                           Resource::getText("VERSION") + " : " + code.mid(2, 1));
        return;
    }
    currentIndex = 0;
    total = int(pictureCount - outside.size());
    leftOut = outside;
    capacity = wheelCapacity;
    estimate = StoreEstimate(total, frameBytes, hall);
    confirmedCount = 0;
}

void Transmitter::storing(int slot)
{
    qint64 t = qMax<qint64>(clock.restart(), 1);
    if (currentIndex == 0) {
        // The first step stands for the connection, a store takes about seven times as long.
        t *= 7;
        progressTimer.start();
    }
    baseValue = int(qMin<qint64>(t * currentIndex, INT_MAX));
    setMaximum(int(qMin<qint64>(t * total, INT_MAX)));
    setValue(baseValue);
    storingText = Resource::getText("RENEW").replace('1', QString::number(slot + 1));
    showTimeLeft();
    leftTimer.start();
    ++currentIndex;
}

void Transmitter::showTimeLeft()
{
    const double left = estimate.secondsLeft(confirmedCount, clock.elapsed() / 1000.0);
    setLabelText(storingText + "\n" + Resource::getText("TIME_LEFT").arg(qCeil(left)));
}

void Transmitter::ended(int count)
{
    // A version check ends in the about box alone.
    if (!isVisible())
        return;
    close();
    if (!leftOut.isEmpty()) {
        // Only this box tells which ticked pictures the wheel has no room for.
        QMessageBox box(QMessageBox::Information, Resource::getText("CONNECTION"),
                        storedText(count), QMessageBox::Ok, parentWidget());
        // One picture sent alone need not have been ticked.
        const char* detail = pictureCount == 1 ? "LEFT_OUT_SLOT" : "LEFT_OUT_DETAIL";
        box.setInformativeText(
            Resource::getText(detail).arg(capacity).arg(TransferSequence::slotNumbers(leftOut)));
        box.setWindowIcon(Resource::getIcon("LOGO"));
        box.exec();
    }
    if (count > 0)
        emit stored(count);
}

void Transmitter::stepOne()
{
    if (value() < maximum())
        setValue(value() + 1);
}

void Transmitter::showError(TransferError error)
{
    progressTimer.stop();
    leftTimer.stop();
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
    box.setInformativeText(failureDetail(error));
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
    sequence.retry();
    clock.restart();
    progressTimer.start();
    if (!storingText.isEmpty())
        leftTimer.start();
    if (isVisible())
        setValue(baseValue);
}

QString Transmitter::failureDetail(TransferError error) const
{
    if (error == TransferError::WheelUnknown)
        return Resource::getText("UNKNOWN_WHEEL_DETAIL")
            .arg(sequence.wheelCode(), sequence.knownCodes().join(", "));
    if (error != TransferError::NotConfirmed)
        return QString();
    const Dongle_::ERROR status = sequence.storeStatus();
    const char* cause = status == Dongle_::OK               ? "CAUSE_CHECKSUM"
                        : status == Dongle_::RECEIVE_FAILED ? "CAUSE_NO_ANSWER"
                        : status == Dongle_::NO_ACCESS      ? "CAUSE_NO_ACCESS"
                                                            : "CAUSE_DONGLE_GONE";
    return Resource::getText("STORE_FAILED_DETAIL")
        .arg(sequence.storeSlot() + 1)
        .arg(sequence.storedCount())
        .arg(Resource::getText(cause));
}

void Transmitter::closeEvent(QCloseEvent* event)
{
    progressTimer.stop();
    leftTimer.stop();
    sequence.cancel();
    QProgressDialog::closeEvent(event);
    hide();
    if (parentWidget())
        parentWidget()->show();
}
