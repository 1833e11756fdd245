#include "model/wheelweb.h"
#include "testsuite.h"

#include <QImage>
#include <QTest>

#include <cmath>

namespace {

bool near(const QPointF& a, const QPointF& b)
{
    return std::hypot(a.x() - b.x(), a.y() - b.y()) < 1e-9;
}

double distanceFromAxle(const QPointF& p)
{
    return std::hypot(p.x() - 256, p.y() - 256);
}

} // namespace

class WheelWebTest : public QObject {
    Q_OBJECT
private slots:
    void smallGridCorners()
    {
        WheelWeb web(4, 2, 10, 5);
        QCOMPARE(web.getPolygons().size(), 8);
        QCOMPARE(web.getCenters().size(), 8);
        const QPolygonF first = web.getPolygons().first();
        QCOMPARE(first.size(), 4);
        QVERIFY(near(first[0], QPointF(256, 0)));
        QVERIFY(near(first[1], QPointF(256, 64)));
        QVERIFY(near(first[2], QPointF(448, 256)));
        QVERIFY(near(first[3], QPointF(512, 256)));
        QVERIFY(near(web.getCenters().first(),
                     QPointF((256 + 256 + 448 + 512) / 4.0, (0 + 64 + 256 + 256) / 4.0)));
        // Positions 6 and 7 are the cell from angle 0 to a quarter turn, rim first.
        const QPolygonF rim = web.getPolygons()[6];
        QVERIFY(near(rim[0], QPointF(512, 256)));
        QVERIFY(near(rim[3], QPointF(256, 512)));
        const QPolygonF inner = web.getPolygons()[7];
        QVERIFY(near(inner[0], QPointF(448, 256)));
        QVERIFY(near(inner[1], QPointF(384, 256)));
    }

    void cellOrderRunsDownTheAnglesAndInwards()
    {
        const int lines = 12, leds = 3;
        WheelWeb web(lines, leds, 90, 30);
        const double step = 2 * M_PI / lines;
        for (int p = 0; p < web.getCenters().size(); ++p) {
            const QPointF c = web.getCenters()[p];
            double angle = std::atan2(c.y() - 256, c.x() - 256);
            if (angle < 0)
                angle += 2 * M_PI;
            QCOMPARE(int(angle / step), lines - 1 - p / leds);
            if (p % leds > 0)
                QVERIFY(distanceFromAxle(c) < distanceFromAxle(web.getCenters()[p - 1]));
        }
    }

    void ringsSpanTheLitBand()
    {
        WheelWeb web(16, 4, 80, 20);
        for (double angle : {0.0, 2.5, 7.0, 15.5}) {
            QCOMPARE(distanceFromAxle(web.getPoint(angle, 0)), 256.0);
            QVERIFY(qAbs(distanceFromAxle(web.getPoint(angle, 4)) - 256.0 * 20 / 80) < 1e-9);
        }
    }

    void equalSizesCollapseOntoTheRim()
    {
        WheelWeb web(4, 2, 10, 10);
        for (const QPolygonF& outline : web.getPolygons())
            for (const QPointF& corner : outline)
                QVERIFY(qAbs(distanceFromAxle(corner) - 256) < 1e-9);
        // The average of a quarter arc's end points lies on its chord.
        for (const QPointF& centre : web.getCenters())
            QVERIFY(qAbs(distanceFromAxle(centre) - 256 * std::cos(M_PI / 4)) < 1e-9);
    }

    void overlayShowsTheOutlinesFaintly()
    {
        WheelWeb web(4, 2, 10, 5);
        const QImage overlay = web.getOverlay().toImage();
        QCOMPARE(overlay.size(), QSize(512, 512));
        // On the line from (448, 256) to (512, 256), shared by two cells.
        const QColor edge = overlay.pixelColor(480, 256);
        QVERIFY(edge.alpha() > 0 && edge.alpha() < 64);
        QCOMPARE(qRed(overlay.pixel(480, 256)), 0);
        QCOMPARE(overlay.pixelColor(256, 256).alpha(), 0);
        QCOMPARE(overlay.pixelColor(400, 400).alpha(), 0);
    }

    void degenerateGridsHaveNoCells()
    {
        QCOMPARE(WheelWeb(0, 8, 10, 5).getPolygons().size(), 0);
        QCOMPARE(WheelWeb(8, 0, 10, 5).getCenters().size(), 0);
        QCOMPARE(WheelWeb(-3, 8, 10, 5).getPolygons().size(), 0);
        QCOMPARE(WheelWeb(0, 8, 10, 5).getOverlay().size(), QSize(512, 512));
    }

    void zeroOuterSizeStaysFinite()
    {
        WheelWeb web(8, 4, 0, 5);
        QCOMPARE(web.getCenters().size(), 32);
        for (const QPointF& centre : web.getCenters())
            QVERIFY(std::isfinite(centre.x()) && std::isfinite(centre.y()));
    }
};

RIMGLOW_TEST(WheelWebTest)
#include "tst_wheelweb.moc"
