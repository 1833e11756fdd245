#include "config/wheelpackage.h"
#include "testsuite.h"

#include <QTest>

class WheelPackageTest : public QObject {
    Q_OBJECT
private slots:
    // One colour lights the whole bar (without its alpha), three colours one bar each, 2, 4,
    // 8 or 16 colours stripe one bar; equal bars are shared, other counts get none.
    void lights()
    {
        WheelPackage package;
        package.add({QColor(10, 20, 30, 40)});
        package.add({Qt::blue, QColor(10, 20, 30), Qt::green});
        package.add({Qt::red, Qt::green, Qt::blue, Qt::white});
        package.add({Qt::red, Qt::green, Qt::blue, Qt::white, Qt::black});
        package.add({});
        QList<QColor> sixteen;
        for (int i = 0; i < 16; ++i)
            sixteen << QColor(i * 10, 0, 0);
        package.add(sixteen);
        const QList<QList<int>> bars{{}, {0, 0, 0}, {1, 0, 2}, {3, 3, 3}, {}, {}, {4, 4, 4}, {}};
        for (int i = -1; i <= 6; ++i)
            QCOMPARE(package.getColors(i), bars[i + 1]);
        const QList<QImage>& lights = *package.getLights();
        QCOMPARE(lights.size(), 5);
        const QList<QRgb> striped{0xFFFF0000, 0xFFFF0000, 0, 0, 0xFF00FF00, 0xFF00FF00, 0, 0,
                                  0xFF0000FF, 0xFF0000FF, 0, 0, 0xFFFFFFFF, 0xFFFFFFFF, 0, 0};
        QCOMPARE(lights[0].size(), QSize(1, 16));
        QCOMPARE(lights[0].format(), QImage::Format_ARGB32);
        for (int row = 0; row < 16; ++row) {
            QCOMPARE(lights[0].pixel(0, row), qRgba(10, 20, 30, 255));
            QCOMPARE(lights[3].pixel(0, row), striped[row]);
            QCOMPARE(lights[4].pixel(0, row), qRgb(row * 10, 0, 0));
        }
    }
};

RIMGLOW_TEST(WheelPackageTest)
#include "tst_wheelpackage.moc"
