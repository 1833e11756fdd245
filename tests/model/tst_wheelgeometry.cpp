#include "model/superfastblur.h"
#include "model/wheelarray.h"
#include "model/wheelweb.h"
#include "testsuite.h"

#include <QAction>
#include <QRandomGenerator>
#include <QTest>

#include <cmath>

namespace {

// A plain box blur of ARGB32 bytes with clamped edges, one pass across and one down, integer
// division after each.
QImage boxBlur(QImage image, int radius)
{
    const int w = image.width(), h = image.height();
    for (const bool across : {true, false}) {
        const QImage in = image;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < 4 * w; ++x) {
                int sum = 0;
                for (int i = -radius; i <= radius; ++i)
                    sum += across ? in.constScanLine(y)[4 * qBound(0, x / 4 + i, w - 1) + x % 4]
                                  : in.constScanLine(qBound(0, y + i, h - 1))[x];
                image.scanLine(y)[x] = uchar(sum / (2 * radius + 1));
            }
    }
    return image;
}

} // namespace

class WheelWebTest : public QObject {
    Q_OBJECT
private slots:
    // Cells run from the last angle down to the first, each from the rim inwards; a cell's
    // centre is the average of its corners. Equal sizes or a zero outer size collapse the rings
    // onto the rim; no angles or rings give no cells.
    void cells()
    {
        WheelWeb web(4, 2, 10, 5);
        QCOMPARE(web.getPolygons().size(), 8);
        QCOMPARE(web.getPolygons()[0], QPolygonF({{256, 0}, {256, 64}, {448, 256}, {512, 256}}));
        QCOMPARE(web.getCenters()[0], QPointF(368, 144));
        QCOMPARE(web.getPolygons()[7], QPolygonF({{448, 256}, {384, 256}, {256, 384}, {256, 448}}));
        for (int outer : {10, 0}) {
            const WheelWeb flat(4, 2, outer, 10);
            for (const QPolygonF& outline : flat.getPolygons())
                for (const QPointF& corner : outline)
                    QVERIFY(qAbs(std::hypot(corner.x() - 256, corner.y() - 256) - 256) < 1e-9);
        }
        QCOMPARE(WheelWeb(-3, 8, 10, 5).getPolygons().size(), 0);
        QCOMPARE(WheelWeb(8, 0, 10, 5).getCenters().size(), 0);
    }
};

class WheelArrayTest : public QObject {
    Q_OBJECT
private slots:
    // Repeats are 1 and the divisors from 3 to the square root; without a hall sensor the
    // first repeat is the default.
    void offeredCounts_data()
    {
        QTest::addColumn<int>("lines");
        QTest::addColumn<QList<int>>("counts");
        QTest::addColumn<int>("chosen");
        QTest::newRow("9") << 9 << QList<int>{1, 3} << 3;
        QTest::newRow("120") << 120 << QList<int>{1, 3, 4, 5, 6, 8, 10} << 3;
        QTest::newRow("94") << 94 << QList<int>{1} << 1;
    }

    void offeredCounts()
    {
        QFETCH(int, lines);
        WheelArray array(lines, false);
        QList<int> counts;
        for (QAction* action : array.getMenu()->actions())
            counts << action->data().toInt();
        QTEST(counts, "counts");
        QTEST(array.getArray(), "chosen");
        QCOMPARE(WheelArray(lines, true).getArray(), 1);
    }

    // An entry, and the menu's own action again, send the count, then the guide picture; no
    // repeat draws none.
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
        array.getMenu()->actions()[1]->trigger();
        array.getMenu()->menuAction()->trigger();
        QCOMPARE(order, (QStringList{"4", "picture", "4", "picture"}));
        QCOMPARE(array.getArray(), 4);
        QCOMPARE(array.getBackground(0).toImage(), background.toImage());
        QImage none(512, 512, QImage::Format_ARGB32);
        none.fill(Qt::transparent);
        QVERIFY(background.toImage().convertToFormat(QImage::Format_ARGB32) != none);
        array.getMenu()->actions()[0]->trigger();
        QCOMPARE(order.mid(4), (QStringList{"1", "picture"}));
        QCOMPARE(background.toImage().convertToFormat(QImage::Format_ARGB32), none);
    }
};

class SuperFastBlurTest : public QObject {
    Q_OBJECT
private slots:
    void matchesAPlainBoxBlur_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("radius");
        QTest::newRow("radius 0 leaves the picture") << QSize(20, 10) << 0;
        QTest::newRow("37x23 r1") << QSize(37, 23) << 1;
        QTest::newRow("radius wider than the picture") << QSize(3, 4) << 7;
    }

    void matchesAPlainBoxBlur()
    {
        QFETCH(QSize, size);
        QFETCH(int, radius);
        // Through a pixmap the channels survive unpremultiplied only when opaque.
        QImage image(size, QImage::Format_ARGB32);
        for (int i = 0; i < size.width() * size.height(); ++i)
            image.setPixel(i % size.width(), i / size.width(),
                           QRandomGenerator::global()->generate() | 0xff000000);
        const QImage blurred = superFastBlur(QPixmap::fromImage(image), radius).toImage();
        QCOMPARE(blurred.convertToFormat(QImage::Format_ARGB32), boxBlur(image, qMax(radius, 0)));
    }
};

RIMGLOW_TEST(WheelWebTest)
RIMGLOW_TEST(WheelArrayTest)
RIMGLOW_TEST(SuperFastBlurTest)
#include "tst_wheelgeometry.moc"
