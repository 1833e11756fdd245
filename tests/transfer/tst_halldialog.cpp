#include "resources/hiddenfile.h"
#include "resources/resource.h"
#include "testsuite.h"
#include "transfer/bikewidget.h"
#include "transfer/halldialog.h"
#include "transfer/hallwidget.h"

#include <QDeadlineTimer>
#include <QDialogButtonBox>
#include <QDir>
#include <QPushButton>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTest>

#include <memory>

namespace {

// A point given in picture heights, from the right edge leftwards and from the middle line
// downwards, the way the areas are cut; the picture is the largest rectangle of its
// proportions, centred.
QPoint spot(const QWidget* bike, qreal fromRight, qreal belowMiddle)
{
    QRectF rect(QPointF(), QSizeF(573, 352).scaled(bike->size(), Qt::KeepAspectRatio));
    rect.moveCenter(QRectF(bike->rect()).center());
    return QPointF(rect.right() - fromRight * rect.height(),
                   rect.center().y() + belowMiddle * rect.height())
        .toPoint();
}

} // namespace

class HallDialogTest : public QObject {
    Q_OBJECT
    std::unique_ptr<HallDialog> dialog;
    HallWidget* dial = nullptr;
    BikeWidget* bike = nullptr;

    void clickBike(QPoint point)
    {
        QTest::mouseMove(bike, point);
        QTest::mouseClick(bike, Qt::LeftButton, Qt::NoModifier, point);
    }

    bool reshow()
    {
        dialog->hide();
        dialog->show();
        return QTest::qWaitForWindowExposed(dialog.get());
    }

private slots:
    void init()
    {
        QFile::remove(HiddenFile::getFileName("hall"));
        dialog = std::make_unique<HallDialog>();
        dial = dialog->findChild<HallWidget*>();
        bike = dialog->findChild<BikeWidget*>();
        QVERIFY(reshow());
    }

    // No file gives the default; text that is no number reads as 0, and the angle is clamped.
    void storedAngleIsReadAtEveryShowing()
    {
        const QList<QPair<QString, int>> cases{{QString(), 200}, {"77", 77},   {"360", 360},
                                               {"abc", 0},       {"500", 360}, {"-20", 0}};
        for (const auto& [stored, angle] : cases) {
            if (!stored.isNull())
                HiddenFile::write("hall", stored);
            QCOMPARE(HallDialog().getValue(), angle);
            // Showing again reads the file again and puts the needle there at once.
            dial->setValue(10);
            QVERIFY(reshow());
            QCOMPARE(dialog->getValue(), angle);
            QCOMPARE(dial->getShownAngle(), angle);
            QCOMPARE(HiddenFile::exists("hall"), !stored.isNull());
        }
    }

    // The product's title, as every window has it, though it is given after the dialog is made.
    void productTitle()
    {
        const QString title = Resource::getTitle();
        Resource::setTitle("Rimglow! MINI");
        QVERIFY(reshow());
        Resource::setTitle(title);
        QCOMPARE(dialog->windowTitle(), QString("Rimglow! MINI"));
    }

    // The upper half, the lower half below the front corner, the front corner at its inner
    // point (the needle walk clicks its middle), and beside the picture, which a wide dialog
    // leaves room for.
    void bikeAreasSetTheirPresets()
    {
        dialog->resize(1400, dialog->height());
        QVERIFY(reshow());
        const QList<std::tuple<qreal, qreal, int, int>> cases{
            {0.8, -0.25, 1, 200}, {0.1, 0.45, 2, 135}, {0.4, 0.05, 3, 90}, {5.0, 0.25, 0, 10}};
        for (const auto& [fromRight, belowMiddle, area, angle] : cases) {
            dial->setValue(10);
            QSignalSpy presets(bike, &BikeWidget::valueChange);
            clickBike(spot(bike, fromRight, belowMiddle));
            QCOMPARE(bike->getArea(), area);
            QCOMPARE(presets.count(), area ? 1 : 0);
            QCOMPARE(dialog->getValue(), angle);
            // Leaving the bike clears the highlight.
            QTest::mouseMove(dial, dial->rect().center());
            QCOMPARE(bike->getArea(), 0);
        }
    }

    void needleOkAndCancel()
    {
        QVERIFY(dialog->isModal());
        QSignalSpy shifts(dial, &HallWidget::shift);
        auto* buttons = dialog->findChild<QDialogButtonBox*>();
        const auto button = [buttons](QDialogButtonBox::ButtonRole role) {
            QAbstractButton* found = nullptr;
            for (QAbstractButton* each : buttons->buttons())
                found = buttons->buttonRole(each) == role ? each : found;
            return found;
        };
        HiddenFile::write("hall", "330");
        QVERIFY(reshow());
        // The needle turns to a preset in steps, and never across the zero.
        clickBike(spot(bike, 0.1, 0.1));
        // The needle moves only in the event loop, so every step is seen.
        QList<int> angles{dial->getShownAngle()};
        const QDeadlineTimer deadline(5000);
        while (angles.last() != 90 && !deadline.hasExpired()) {
            QTest::qWait(1);
            if (dial->getShownAngle() != angles.last())
                angles << dial->getShownAngle();
        }
        QCOMPARE(angles, QList<int>({330, 270, 210, 150, 90}));
        QTest::mouseClick(button(QDialogButtonBox::RejectRole), Qt::LeftButton);
        QCOMPARE(HiddenFile::read("hall"), "330");
        // A transfer made now reads the dial as the user left it, until it is shown again.
        QCOMPARE(dialog->getValue(), 90);
        QVERIFY(reshow());
        QCOMPARE(dialog->getValue(), 330);

        auto* tabs = dialog->findChild<QTabWidget*>();
        tabs->setCurrentIndex(1);
        QTest::mouseClick(tabs->widget(1), Qt::LeftButton);
        QCOMPARE(dialog->getValue(), 0);
        QTest::mouseClick(button(QDialogButtonBox::AcceptRole), Qt::LeftButton);
        QCOMPARE(HiddenFile::read("hall"), "0");
        QVERIFY(!dialog->isVisible());
        // The stored angle is shown at once, not after the turn.
        QCOMPARE(dial->getShownAngle(), 0);
        QCOMPARE(shifts.count(), 1);
        QCOMPARE(shifts.first(), QVariantList({0, 360}));
    }
};

RIMGLOW_TEST(HallDialogTest)
#include "tst_halldialog.moc"
