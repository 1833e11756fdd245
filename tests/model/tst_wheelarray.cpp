#include "model/wheelarray.h"
#include "resources/hiddenfile.h"
#include "testsuite.h"

#include <QAction>
#include <QSignalSpy>
#include <QTest>

#include <cmath>

namespace {

QList<int> offered(WheelArray& array)
{
    QList<int> counts;
    for (QAction* action : array.getMenu()->actions())
        counts << action->statusTip().toInt();
    return counts;
}

QAction* entry(WheelArray& array, int count)
{
    for (QAction* action : array.getMenu()->actions())
        if (action->statusTip().toInt() == count)
            return action;
    return nullptr;
}

// Whether the background has a line pixel at the given angle (degrees clockwise from up) and
// distance from the centre.
bool lineAt(const QPixmap& background, double degrees, double distance)
{
    const double a = degrees * M_PI / 180;
    const QImage image = background.toImage();
    return qAlpha(image.pixel(int(std::round(256 + distance * std::sin(a))),
                              int(std::round(256 - distance * std::cos(a))))) > 0;
}

} // namespace

class WheelArrayTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { HiddenFile::write("language", "en"); }

    void offeredCounts_data()
    {
        QTest::addColumn<int>("lines");
        QTest::addColumn<QList<int>>("counts");
        QTest::newRow("8") << 8 << QList<int>{1};
        QTest::newRow("9") << 9 << QList<int>{1, 3};
        QTest::newRow("16") << 16 << QList<int>{1, 4};
        QTest::newRow("36") << 36 << QList<int>{1, 3, 4, 6};
        QTest::newRow("64") << 64 << QList<int>{1, 4, 8};
        QTest::newRow("94") << 94 << QList<int>{1};
        QTest::newRow("120") << 120 << QList<int>{1, 3, 4, 5, 6, 8, 10};
    }

    void offeredCounts()
    {
        QFETCH(int, lines);
        WheelArray array(lines, false);
        QTEST(offered(array), "counts");
    }

    void entriesAndDefaults()
    {
        WheelArray plain(120, false);
        QCOMPARE(plain.getArray(), 3);
        QCOMPARE(plain.getMenu()->title(), QString("Repeat"));
        QCOMPARE(entry(plain, 1)->text(), QString("None"));
        QCOMPARE(entry(plain, 4)->text(), QString("X4"));
        QVERIFY(!entry(plain, 1)->icon().isNull());
        QVERIFY(!plain.getMenu()->menuAction()->icon().isNull());
        QCOMPARE(WheelArray(120, true).getArray(), 1);
        QCOMPARE(WheelArray(94, false).getArray(), 1);
        QCOMPARE(WheelArray(8, false).getArray(), 1);
    }

    void choosingAnEntrySendsCountThenPicture()
    {
        WheelArray array(64, true);
        QStringList order;
        QPixmap background;
        connect(&array, &WheelArray::setDiv, this, [&](int div) { order << QString::number(div); });
        connect(&array, &WheelArray::updatePixmap, this, [&](const QPixmap& pix) {
            order << "picture";
            background = pix;
        });
        entry(array, 4)->trigger();
        QCOMPARE(order, (QStringList{"4", "picture"}));
        QCOMPARE(array.getArray(), 4);
        QCOMPARE(array.getMenu()->menuAction()->statusTip(), QString("4"));
        for (double degrees : {0.0, 90.0, 180.0, 270.0})
            QVERIFY(lineAt(background, degrees, 150));
        QVERIFY(!lineAt(background, 45, 150));
        QCOMPARE(array.getBackground(0).toImage(), background.toImage());

        order.clear();
        array.getMenu()->menuAction()->trigger();
        QCOMPARE(order, (QStringList{"4", "picture"}));

        order.clear();
        entry(array, 1)->trigger();
        QCOMPARE(order, (QStringList{"1", "picture"}));
        const QImage none = background.toImage();
        for (int y = 0; y < none.height(); y += 7)
            for (int x = 0; x < none.width(); x += 7)
                QCOMPARE(qAlpha(none.pixel(x, y)), 0);
    }

    void threeLinesAreAThirdOfATurnApart()
    {
        WheelArray array(9, false);
        const QPixmap background = array.getBackground(3);
        QVERIFY(lineAt(background, 0, 200));
        QVERIFY(lineAt(background, 120, 200));
        QVERIFY(lineAt(background, 240, 200));
        QVERIFY(!lineAt(background, 180, 200));
        QVERIFY(!lineAt(background, 60, 200));
    }
};

RIMGLOW_TEST(WheelArrayTest)
#include "tst_wheelarray.moc"
