#include "testsuite.h"
#include "tools/colorpanel.h"

#include <QSignalSpy>
#include <QTest>

class ColorPanelTest : public QObject {
    Q_OBJECT
private slots:
    void clicksSwapDrawingAndErasing()
    {
        ColorPanel panel;
        panel.resize(100, 100);
        QCOMPARE(panel.getBrush().style(), Qt::SolidPattern);
        QCOMPARE(panel.getBrush().color().rgba(), qRgb(127, 127, 255));
        QCOMPARE(panel.getMode(), QPainter::CompositionMode_SourceOver);

        QSignalSpy spy(&panel, &ColorPanel::brushChange);
        QTest::mouseClick(&panel, Qt::RightButton);
        QCOMPARE(spy.size(), 1);
        QCOMPARE(panel.getMode(), QPainter::CompositionMode_DestinationOut);
        QCOMPARE(panel.getBrush().style(), Qt::TexturePattern);
        const QImage tile = panel.getBrush().texture().toImage();
        QCOMPARE(tile.size(), QSize(8, 8));
        QCOMPARE(tile.pixel(3, 3), qRgb(0, 0, 0));
        QCOMPARE(tile.pixel(2, 5), qRgb(127, 127, 127));
        QCOMPARE(spy.first().first().value<QBrush>(), panel.getBrush());

        QTest::mouseClick(&panel, Qt::LeftButton);
        QCOMPARE(spy.size(), 2);
        QCOMPARE(panel.getBrush().color().rgba(), qRgb(127, 127, 255));
        QCOMPARE(panel.getMode(), QPainter::CompositionMode_SourceOver);
    }

    void swatches_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QPoint>("foreground");
        QTest::addColumn<QPoint>("background");
        QTest::newRow("square") << QSize(100, 100) << QPoint(0, 0) << QPoint(20, 20);
        QTest::newRow("wide") << QSize(200, 100) << QPoint(50, 0) << QPoint(70, 20);
        QTest::newRow("tall") << QSize(100, 200) << QPoint(0, 50) << QPoint(20, 70);
    }

    void swatches()
    {
        QFETCH(QSize, size);
        QFETCH(QPoint, foreground);
        QFETCH(QPoint, background);
        ColorPanel panel;
        panel.resize(size);
        const QImage shown = panel.grab().toImage();
        QCOMPARE(shown.pixelColor(foreground + QPoint(10, 10)), QColor(Qt::blue));
        QCOMPARE(shown.pixelColor(foreground + QPoint(70, 70)), QColor(Qt::blue));
        QCOMPARE(shown.pixelColor(background + QPoint(75, 75)), QColor(Qt::white));
        // The outlines are in the complementary colours.
        QCOMPARE(shown.pixelColor(foreground + QPoint(0, 40)), QColor(Qt::yellow));
        const QColor corner = shown.pixelColor(size.width() - 1, 0);
        QVERIFY(corner == QColor(Qt::lightGray) || corner == QColor(Qt::darkGray));
    }
};

RIMGLOW_TEST(ColorPanelTest)
#include "tst_colorpanel.moc"
