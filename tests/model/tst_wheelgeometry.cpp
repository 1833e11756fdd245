#include "model/polarcells.h"
#include "model/superfastblur.h"
#include "model/wheelarray.h"
#include "model/wheelweb.h"
#include "testsuite.h"

#include <QAction>
#include <QPainter>
#include <QRandomGenerator>
#include <QTest>

#include <cmath>
#include <functional>
#include <numeric>
#include <vector>

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

// superFastBlur as it stood before it was made fast, kept as the reference the fast one must
// match byte for byte: per-channel running sums and a division table.
QImage referenceSuperFastBlur(QImage source, int radius)
{
    source = source.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (radius < 1)
        return source;
    const int w = source.width();
    const int h = source.height();
    const int wm = w - 1;
    const int hm = h - 1;
    const int div = 2 * radius + 1;
    const size_t span = size_t(w) * 4;
    std::vector<quint8> plane(span * h);
    std::vector<quint32> row(span / 4);
    std::vector<int> vmin(size_t(qMax(w, h)));
    std::vector<int> vmax(size_t(qMax(w, h)));
    std::vector<quint8> dv(size_t(256) * div);
    for (size_t i = 0; i < dv.size(); ++i)
        dv[i] = quint8(i / div);
    const quint8* table = dv.data();

    for (int x = 0; x < w; ++x) {
        vmin[size_t(x)] = 4 * qMin(x + radius + 1, wm);
        vmax[size_t(x)] = 4 * qMax(x - radius, 0);
    }
    for (int y = 0; y < h; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            const QRgb p = line[x];
            const uint alpha = qAlpha(p);
            row[size_t(x)] = (alpha == 0 || alpha == 255) ? p : qUnpremultiply(p);
        }
        const auto* bytes = reinterpret_cast<const uchar*>(row.data());
        quint8* out = plane.data() + size_t(y) * span;
        int sum0 = 0, sum1 = 0, sum2 = 0, sum3 = 0;
        for (int i = -radius; i <= radius; ++i) {
            const uchar* p = bytes + 4 * qBound(0, i, wm);
            sum0 += p[0];
            sum1 += p[1];
            sum2 += p[2];
            sum3 += p[3];
        }
        for (int x = 0; x < w; ++x) {
            out[4 * x] = table[sum0];
            out[4 * x + 1] = table[sum1];
            out[4 * x + 2] = table[sum2];
            out[4 * x + 3] = table[sum3];
            const uchar* in = bytes + vmin[size_t(x)];
            const uchar* outgoing = bytes + vmax[size_t(x)];
            sum0 += in[0] - outgoing[0];
            sum1 += in[1] - outgoing[1];
            sum2 += in[2] - outgoing[2];
            sum3 += in[3] - outgoing[3];
        }
    }

    for (int y = 0; y < h; ++y) {
        vmin[size_t(y)] = qMin(y + radius + 1, hm);
        vmax[size_t(y)] = qMax(y - radius, 0);
    }
    std::vector<int> sums(span, 0);
    for (int i = -radius; i <= radius; ++i) {
        const quint8* in = plane.data() + size_t(qBound(0, i, hm)) * span;
        for (size_t k = 0; k < span; ++k)
            sums[k] += in[k];
    }
    QImage blurred(w, h, QImage::Format_ARGB32_Premultiplied);
    auto* bytes = reinterpret_cast<uchar*>(row.data());
    for (int y = 0; y < h; ++y) {
        const quint8* in = plane.data() + size_t(vmin[size_t(y)]) * span;
        const quint8* outgoing = plane.data() + size_t(vmax[size_t(y)]) * span;
        int* sum = sums.data();
        for (size_t k = 0; k < span; ++k) {
            const int value = sum[k];
            bytes[k] = table[value];
            sum[k] = value + in[k] - outgoing[k];
        }
        auto* line = reinterpret_cast<QRgb*>(blurred.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const QRgb p = row[size_t(x)];
            const uint alpha = qAlpha(p);
            line[x] = alpha == 255 ? p : alpha == 0 ? 0 : qPremultiply(p);
        }
    }
    return blurred;
}

QImage noise(QSize size, quint32 alphaMask)
{
    QRandomGenerator random(size.width() * 1000 + size.height());
    QImage image(size, QImage::Format_ARGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, random.generate() | alphaMask);
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

    void outlinesOfAnArea_data()
    {
        QTest::addColumn<QSize>("grid");
        QTest::addColumn<int>("inner");
        QTest::addColumn<QRectF>("area");
        QTest::addColumn<bool>("lined");
        const QList<std::tuple<const char*, QRectF, QList<bool>>> areas = {
            {"round the axle", {200, 210, 90, 70}, {true, true, false}},
            {"across the first position", {430, 240, 60, 30}, {true, true, false}},
            {"across half a turn", {10, 250, 50, 20}, {true, true, false}},
            {"a sliver at the rim", {250.5, 0.5, 3, 2}, {true, false, false}},
            {"beyond the rim", {0, 0, 30, 30}, {false, false, true}},
            {"where the innermost edge sags", {295, 273.5, 5, 5}, {false, true, false}},
            {"the whole picture", {0, 0, 512, 512}, {true, true, true}},
        };
        for (const auto& [name, area, lined] : areas) {
            QTest::addRow("1024x256 %s", name) << QSize(1024, 256) << 16 << area << lined[0];
            QTest::addRow("7x3 %s", name) << QSize(7, 3) << 16 << area << lined[1];
            QTest::addRow("rings past the edge %s", name)
                << QSize(64, 16) << 120 << area << lined[2];
        }
    }

    // Drawing only the cells that may cross an area (widened by a device pixel, as the grid's
    // tiles widen theirs) draws there what drawing them all does, at a zoom and off the pixel
    // grid.
    void outlinesOfAnArea()
    {
        QFETCH(QSize, grid);
        QFETCH(int, inner);
        QFETCH(QRectF, area);
        QFETCH(bool, lined);
        const WheelWeb web(grid.width(), grid.height(), 80, inner);
        const auto drawn = [&](const QRectF& only) {
            QImage image(1100, 1100, QImage::Format_ARGB32_Premultiplied);
            image.fill(Qt::transparent);
            QPainter painter(&image);
            painter.translate(7.3, 5.6);
            painter.scale(2.1, 2.1);
            painter.setClipRect(area);
            web.paintOverlay(&painter, only);
            return image;
        };
        const QImage all = drawn(QRectF());
        QCOMPARE(drawn(area.adjusted(-0.5, -0.5, 0.5, 0.5)), all);
        QImage blank(all.size(), all.format());
        blank.fill(Qt::transparent);
        QCOMPARE(all != blank, lined);
    }
};

// Where each way of moving cells sends one cell: (position, ring) to (position, ring), or
// nowhere. Eight positions mirror exactly; nine put a cell on the nearer of two.
class PolarCellsTest : public QObject {
    Q_OBJECT
private slots:
    void moves_data()
    {
        QTest::addColumn<int>("positions");
        QTest::addColumn<QString>("move");
        QTest::addColumn<int>("by");
        QTest::addColumn<QPoint>("from");
        QTest::addColumn<QPoint>("to");
        const QPoint gone(-1, -1);
        for (int a : {8, 9}) {
            const QString n = QString::number(a);
            QTest::newRow(qPrintable(n + " turn"))
                << a << "turn" << 3 << QPoint(7, 1) << QPoint(10 % a, 1);
            QTest::newRow(qPrintable(n + " turn back"))
                << a << "turn" << -a - 1 << QPoint(0, 2) << QPoint(a - 1, 2);
            QTest::newRow(qPrintable(n + " inwards"))
                << a << "shift" << 2 << QPoint(2, 1) << QPoint(2, 3);
            QTest::newRow(qPrintable(n + " off the hub"))
                << a << "shift" << 1 << QPoint(2, 3) << gone;
            QTest::newRow(qPrintable(n + " off the rim"))
                << a << "shift" << -1 << QPoint(2, 0) << gone;
            QTest::newRow(qPrintable(n + " top bottom"))
                << a << "topBottom" << 0 << QPoint(2, 1) << QPoint(a - 3, 1);
            QTest::newRow(qPrintable(n + " inside out"))
                << a << "swap" << 0 << QPoint(5, 0) << QPoint(5, 3);
        }
        // 0 to 45 degrees (clockwise from three o'clock) mirrors to 135 to 180.
        QTest::newRow("8 left right") << 8 << "leftRight" << 0 << QPoint(0, 1) << QPoint(3, 1);
        QTest::newRow("8 left right, top") << 8 << "leftRight" << 0 << QPoint(6, 2) << QPoint(5, 2);
        // 0 to 40 mirrors to 140 to 180, half on 120 to 160 and half on 160 to 200.
        QTest::newRow("9 left right") << 9 << "leftRight" << 0 << QPoint(0, 1) << QPoint(4, 1);
        QTest::newRow("9 left right, back")
            << 9 << "leftRight" << 0 << QPoint(4, 1) << QPoint(0, 1);
    }

    // Moved through the picture: one inked cell painted, moved, painted again and read back.
    void moves()
    {
        QFETCH(int, positions);
        QFETCH(QString, move);
        QFETCH(int, by);
        QFETCH(QPoint, from);
        QFETCH(QPoint, to);
        const WheelWeb web(positions, 4, 80, 16);
        const PolarGrid grid(positions, 4);
        const QMap<QString, std::function<int(int)>> moves{
            {"turn", [&](int c) { return grid.rotated(c, by); }},
            {"shift", [&](int c) { return grid.shifted(c, by); }},
            {"leftRight", [&](int c) { return grid.mirroredLeftRight(c); }},
            {"topBottom", [&](int c) { return grid.mirroredTopBottom(c); }},
            {"swap", [&](int c) { return grid.swappedRings(c); }}};
        QImage picture(512, 512, QImage::Format_ARGB32_Premultiplied);
        picture.fill(Qt::transparent);
        picture.setPixel(0, 0, qRgb(1, 2, 3));
        // A stray pixel off its cell's centre stays while its cell does not change.
        const QPoint stray(256, 3);
        picture.setPixel(stray, qRgb(4, 5, 6));
        PolarCells cells(grid);
        cells.setColour(grid.cell(from.x(), from.y()), qRgb(255, 0, 0));
        QList<int> all(grid.count());
        std::iota(all.begin(), all.end(), 0);
        picture = cells.moved(all, moves[move]).paintedOver(cells.paintedOver(picture, web), web);

        PolarCells expected(grid);
        if (to != QPoint(-1, -1))
            expected.setColour(grid.cell(to.x(), to.y()), qRgb(255, 0, 0));
        QVERIFY(PolarCells(picture, web) == expected);
        QCOMPARE(picture.pixel(0, 0), qRgb(1, 2, 3));
        if (!QList<QPoint>{from, to}.contains(
                {grid.positionOf(web.cellAt(stray)), grid.ringOf(web.cellAt(stray))}))
            QCOMPARE(picture.pixel(stray), qRgb(4, 5, 6));
        QCOMPARE(grid.mirrorsLeftRightExactly(), positions % 2 == 0);
    }

    // A lifted cell leaves its place empty; where it lands its ink covers, its emptiness not.
    void movedCovers()
    {
        const PolarGrid grid(8, 4);
        PolarCells cells(grid);
        cells.setColour(grid.cell(0, 0), qRgb(255, 0, 0));
        cells.setColour(grid.cell(1, 0), qRgb(0, 0, 255));
        cells.setColour(grid.cell(3, 0), qRgb(0, 255, 0));
        const PolarCells after = cells.moved({grid.cell(0, 0), grid.cell(2, 0)},
                                             [&](int c) { return grid.rotated(c, 1); });
        QCOMPARE(after.colour(grid.cell(0, 0)), 0u);
        QCOMPARE(after.colour(grid.cell(1, 0)), qRgb(255, 0, 0));
        QCOMPARE(after.colour(grid.cell(3, 0)), qRgb(0, 255, 0));
    }

    // Positions the short way round, signed clockwise; half a turn goes clockwise.
    void shortWay()
    {
        const PolarGrid eight(8, 1), nine(9, 1);
        QCOMPARE(eight.shortWay(1, 7), -2);
        QCOMPARE(eight.shortWay(7, 1), 2);
        QCOMPARE(eight.shortWay(0, 4), 4);
        QCOMPARE(nine.shortWay(0, 5), -4);
        QCOMPARE(nine.shortWay(0, 4), 4);
    }

    void sector_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("span");
        QTest::addColumn<int>("ring1");
        QTest::addColumn<int>("ring2");
        QTest::addColumn<bool>("filled");
        QTest::addColumn<QList<QPoint>>("cells");
        QTest::newRow("filled across 0")
            << 6 << 3 << 2 << 1 << true
            << QList<QPoint>{{6, 1}, {6, 2}, {7, 1}, {7, 2}, {0, 1}, {0, 2}, {1, 1}, {1, 2}};
        QTest::newRow("outline") << 1 << 3 << 0 << 3 << false
                                 << QList<QPoint>{{1, 0}, {1, 1}, {1, 2}, {1, 3}, {2, 0}, {2, 3},
                                                  {3, 0}, {3, 3}, {4, 0}, {4, 1}, {4, 2}, {4, 3}};
        QTest::newRow("anticlockwise arc")
            << 1 << -2 << 1 << 1 << false << QList<QPoint>{{1, 1}, {0, 1}, {7, 1}};
        QTest::newRow("spoke") << 5 << 0 << 3 << 1 << false
                               << QList<QPoint>{{5, 1}, {5, 2}, {5, 3}};
        QList<QPoint> band;
        for (int k = 2; k < 10; ++k)
            band << QPoint(k % 8, 0) << QPoint(k % 8, 3);
        QTest::newRow("whole turn outline") << 2 << 7 << 3 << 0 << false << band;
        QList<QPoint> ring;
        for (int k = 3; k > -5; --k)
            ring << QPoint((k + 8) % 8, 2);
        QTest::newRow("whole turn back, one ring") << 3 << -7 << 2 << 2 << true << ring;
    }

    void sector()
    {
        QFETCH(int, from);
        QFETCH(int, span);
        QFETCH(int, ring1);
        QFETCH(int, ring2);
        QFETCH(bool, filled);
        QFETCH(QList<QPoint>, cells);
        const PolarGrid grid(8, 4);
        QList<QPoint> got;
        for (int cell : grid.sector(from, span, ring1, ring2, filled))
            got << QPoint(grid.positionOf(cell), grid.ringOf(cell));
        QCOMPARE(got, cells);
    }

    // A stroke meets the cells under it in order, each once; the hub and beyond the rim are
    // no cells.
    void cellsAlong()
    {
        const WheelWeb web(8, 4, 80, 16);
        const PolarGrid grid(8, 4);
        QCOMPARE(web.cellsAlong({500, 260}, {300, 260}),
                 QList<int>({grid.cell(0, 0), grid.cell(0, 1), grid.cell(0, 2), grid.cell(0, 3)}));
        QCOMPARE(web.cellAt({256, 256}), -1);
        QCOMPARE(web.cellAt({2, 2}), -1);
        QCOMPARE(web.cellAt({256, 2}), grid.cell(6, 0));
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

    // Drawn cells with soft edges, every alpha, fully transparent, opaque and odd sizes, at
    // every kind of radius: no window, the icon's, windows wider than the picture and the
    // widest that still sums in 16 bits (255 x 257) and beyond.
    void matchesTheReference_data()
    {
        QTest::addColumn<QImage>("picture");
        QTest::addColumn<int>("radius");
        QImage drawn(96, 80, QImage::Format_ARGB32_Premultiplied);
        drawn.fill(Qt::transparent);
        QPainter painter(&drawn);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        const WheelWeb web(16, 4, 80, 16);
        for (int i = 0; i < web.getPolygons().size(); i += 3) {
            painter.setBrush(QColor::fromHsv(i * 37 % 360, 200, 255, 255 - i));
            painter.drawPolygon(web.getPolygons()[i].translated(-200, -200));
        }
        painter.end();
        QImage clear(40, 30, QImage::Format_ARGB32);
        clear.fill(Qt::transparent);
        const QList<QPair<const char*, QImage>> pictures{
            {"drawn", drawn},
            {"noise", noise(QSize(64, 48), 0)},
            {"transparent", clear},
            {"opaque", noise(QSize(50, 40), 0xff000000)},
            {"odd-sized", noise(QSize(37, 23), 0)}};
        for (const auto& [name, picture] : pictures)
            for (const int radius : {0, 1, 2, 5, 70})
                QTest::addRow("%s, radius %d", name, radius) << picture << radius;
        QTest::newRow("opaque, radius 128") << pictures[3].second << 128;
        QTest::newRow("opaque, radius 129") << pictures[3].second << 129;
        QTest::newRow("1 x 1, radius 2") << noise(QSize(1, 1), 0) << 2;
    }

    void matchesTheReference()
    {
        QFETCH(QImage, picture);
        QFETCH(int, radius);
        const QImage expected = referenceSuperFastBlur(picture, radius);
        QCOMPARE(superFastBlur(picture, radius), expected);
        // A pixmap turns opaque pictures into RGB32.
        QCOMPARE(superFastBlur(QPixmap::fromImage(picture), radius)
                     .toImage()
                     .convertToFormat(expected.format()),
                 expected);
    }
};

RIMGLOW_TEST(WheelWebTest)
RIMGLOW_TEST(PolarCellsTest)
RIMGLOW_TEST(WheelArrayTest)
RIMGLOW_TEST(SuperFastBlurTest)
#include "tst_wheelgeometry.moc"
