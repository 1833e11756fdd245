#include "simulation/initsvg.h"
#include "simulation/speedmeter.h"
#include "testsuite.h"

#include <QSvgRenderer>
#include <QTest>

namespace {

// The meter as the user sees it at one dial value.
QImage shown(SpeedMeter* meter, int value)
{
    meter->setValue(value);
    return meter->grab().toImage();
}

// The places of the tens and units digits of a square meter of side s.
QRect tens(int s)
{
    return QRect(s / 2 + int(s * -0.18), s / 2 + int(s * 0.1), int(s * 0.05), int(s * 0.1));
}
QRect units(int s)
{
    return QRect(s / 2 + int(s * -0.12), s / 2 + int(s * 0.1), int(s * 0.05), int(s * 0.1));
}

int litPixels(const QPixmap& pixmap)
{
    const QImage image = pixmap.toImage();
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += qAlpha(image.pixel(x, y)) > 128;
    return count;
}

} // namespace

class SpeedMeterTest : public QObject {
    Q_OBJECT

private slots:
    void digitStripIsTenEqualCells()
    {
        QSvgRenderer strip(initSvg());
        QVERIFY(strip.isValid());
        QCOMPARE(strip.defaultSize(), QSize(360, 64));
    }

    void startsAtTheGivenSpeedInTenths()
    {
        SpeedMeter meter(15);
        QCOMPARE(meter.value(), 150);
        QCOMPARE(meter.minimum(), 0);
        QCOMPARE(meter.maximum(), 250);
        meter.setValue(400);
        QCOMPARE(meter.value(), 250);
    }

    void picturesGlowInTheirColours()
    {
        SpeedMeter meter(0);
        QCOMPARE(meter.getFace().size(), QSize(256, 256));
        QCOMPARE(meter.getNeedle().size(), QSize(30, 128));
        const QImage face = meter.getFace().toImage();
        // The glow reaches beyond the sharp drawing: the arc's outside edge at the top.
        QVERIFY(qAlpha(face.pixel(128, 1)) > 0);
        QVERIFY(qAlpha(face.pixel(128, 1)) < qAlpha(face.pixel(128, 8)));
        const QColor top = QColor::fromRgba(face.pixel(128, 8));
        QCOMPARE(top.red(), 255);
        QCOMPARE(top.green(), 0);
        QCOMPARE(top.blue(), 255);

        const QImage needle = meter.getNeedle().toImage();
        const QColor middle = QColor::fromRgba(needle.pixel(15, 50));
        QCOMPARE(middle.alpha(), 255);
        QCOMPARE(QColor(middle.rgb()), QColor(Qt::yellow));
    }

    void eachDigitCellShowsItsOwnGlyph()
    {
        SpeedMeter meter(0);
        const QList<QPixmap> digits = meter.getDigits();
        QCOMPARE(digits.size(), 10);
        for (const QPixmap& digit : digits)
            QCOMPARE(digit.size(), QSize(37, 64));
        QList<int> lit;
        for (const QPixmap& digit : digits)
            lit << litPixels(digit);
        // Seven-segment glyphs: the 8 lights all segments, the 1 only two.
        QVERIFY(lit[8] > lit[0]);
        QVERIFY(lit[0] > lit[7]);
        QVERIFY(lit[7] > lit[1]);
        QVERIFY(lit[1] > 0);
        for (int k = 0; k < 10; ++k)
            for (int other = k + 1; other < 10; ++other)
                QVERIFY2(digits[k].toImage() != digits[other].toImage(),
                         qPrintable(QString("%1 and %2 look alike").arg(k).arg(other)));
    }

    // 150 tenths of a mph are 24 km/h: the digits follow the km/h, not the dial.
    void digitsShowTheSpeedInKilometres()
    {
        SpeedMeter meter(0);
        meter.resize(200, 200);
        const QImage at24 = shown(&meter, 150);
        const QImage at23 = shown(&meter, 149); // 23.97 km/h, cut to 23
        const QImage at20 = shown(&meter, 130); // 20.9 km/h
        const QImage at30 = shown(&meter, 190); // 30.6 km/h
        QCOMPARE(at24.copy(tens(200)), at23.copy(tens(200)));
        QVERIFY(at24.copy(units(200)) != at23.copy(units(200)));
        QCOMPARE(at24.copy(tens(200)), at20.copy(tens(200)));
        QVERIFY(at24.copy(tens(200)) != at30.copy(tens(200)));
        QCOMPARE(at20.copy(units(200)), at30.copy(units(200)));
    }

    void needleTurnsWithTheDial()
    {
        SpeedMeter meter(0);
        meter.resize(200, 200);
        // At 0 the needle points down to the left at the mark 0, at 250 down to the right.
        const QPoint lowLeft(100 - 30, 100 + 52), lowRight(100 + 30, 100 + 52);
        const QImage atZero = shown(&meter, 0);
        const QImage atTop = shown(&meter, 250);
        QVERIFY(qGray(atZero.pixel(lowLeft)) > qGray(atTop.pixel(lowLeft)));
        QVERIFY(qGray(atTop.pixel(lowRight)) > qGray(atZero.pixel(lowRight)));
    }
};

RIMGLOW_TEST(SpeedMeterTest)
#include "tst_speedmeter.moc"
