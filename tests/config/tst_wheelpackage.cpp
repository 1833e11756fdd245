#include "config/wheelpackage.h"
#include "testsuite.h"

#include <QTest>

class WheelPackageTest : public QObject {
    Q_OBJECT
private slots:
    void oneColourFillsTheLightAndRepeatsIt()
    {
        WheelPackage package;
        package.add({QColor(10, 20, 30, 40)});
        QCOMPARE(package.getColors(0), (QList<int>{0, 0, 0}));
        const QImage light = package.getLights()->at(0);
        QCOMPARE(light.size(), QSize(1, 16));
        QCOMPARE(light.format(), QImage::Format_ARGB32);
        // The colour's own alpha does not reach the bar.
        for (int row = 0; row < 16; ++row)
            QCOMPARE(light.pixel(0, row), qRgba(10, 20, 30, 255));
    }

    void equalLightsAreShared()
    {
        WheelPackage package;
        package.add({Qt::red});
        package.add({Qt::blue, Qt::red, Qt::green});
        package.add({Qt::red});
        QCOMPARE(package.getLights()->size(), 3);
        QCOMPARE(package.getColors(0), (QList<int>{0, 0, 0}));
        QCOMPARE(package.getColors(1), (QList<int>{1, 0, 2}));
        QCOMPARE(package.getColors(2), (QList<int>{0, 0, 0}));
    }

    void fourColoursStripeOneLight()
    {
        WheelPackage package;
        package.add({Qt::red, Qt::green, Qt::blue, Qt::white});
        QCOMPARE(package.getLights()->size(), 1);
        QCOMPARE(package.getColors(0), (QList<int>{0, 0, 0}));
        const QImage light = package.getLights()->at(0);
        const QList<QRgb> expected{
            qRgb(255, 0, 0), qRgb(255, 0, 0), 0, 0, qRgb(0, 255, 0),     qRgb(0, 255, 0),     0, 0,
            qRgb(0, 0, 255), qRgb(0, 0, 255), 0, 0, qRgb(255, 255, 255), qRgb(255, 255, 255), 0, 0};
        for (int row = 0; row < 16; ++row)
            QCOMPARE(light.pixel(0, row), expected[row]);
    }

    void sixteenColoursLetTheLaterWin()
    {
        QList<QColor> colors;
        for (int i = 0; i < 16; ++i)
            colors << QColor(i * 10, 0, 0);
        WheelPackage package;
        package.add(colors);
        const QImage light = package.getLights()->at(0);
        for (int row = 0; row < 16; ++row)
            QCOMPARE(light.pixel(0, row), qRgb(row * 10, 0, 0));
    }

    void otherCountsGetNoLights()
    {
        WheelPackage package;
        package.add({Qt::red, Qt::green, Qt::blue, Qt::white, Qt::black});
        package.add({});
        package.add({Qt::red});
        QCOMPARE(package.getColors(0), QList<int>());
        QCOMPARE(package.getColors(1), QList<int>());
        // Package numbers still follow the order of the packages.
        QCOMPARE(package.getColors(2), (QList<int>{0, 0, 0}));
        QCOMPARE(package.getColors(3), QList<int>());
        QCOMPARE(package.getColors(-1), QList<int>());
    }
};

RIMGLOW_TEST(WheelPackageTest)
#include "tst_wheelpackage.moc"
