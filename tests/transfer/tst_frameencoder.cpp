#include "model/wheelweb.h"
#include "testsuite.h"
#include "transfer/frameencoder.h"

#include <QTest>

#include <cmath>

namespace {

QImage filled(QRgb rgba)
{
    QImage image(512, 512, QImage::Format_ARGB32);
    image.fill(rgba);
    return image;
}

} // namespace

class FrameEncoderTest : public QObject {
    Q_OBJECT
private slots:
    void lengthsAndPadding()
    {
        // 25 x 4 = 100 cells: 13 bytes, the low 4 bits of the last one unused.
        const WheelWeb web(25, 4, 80, 16);
        const QByteArray dark = FrameEncoder::encode(filled(0), web.getCenters());
        QCOMPARE(dark, QByteArray(13, '\0'));
        const QByteArray lit = FrameEncoder::encode(filled(qRgba(0, 0, 0, 255)), web.getCenters());
        QCOMPARE(lit, QByteArray(12, char(0xFF)) + QByteArray(1, char(0xF0)));
        QCOMPARE(FrameEncoder::encode(filled(0), {}), QByteArray(1, '\0'));
    }

    void alphaThreshold_data()
    {
        QTest::addColumn<int>("alpha");
        QTest::addColumn<bool>("lit");
        QTest::newRow("128") << 128 << false;
        QTest::newRow("129") << 129 << true;
        QTest::newRow("1") << 1 << false;
    }

    void alphaThreshold()
    {
        QFETCH(int, alpha);
        const WheelWeb web(8, 1, 80, 16);
        const QByteArray frame =
            FrameEncoder::encode(filled(qRgba(0, 0, 0, alpha)), web.getCenters());
        QCOMPARE(frame, QByteArray(1, alpha > 128 ? char(0xFF) : '\0'));
        QTEST(bool(frame[0] & 0x80), "lit");
    }

    void firstBitIsTheRimOfTheLastAngle()
    {
        const int lines = 16, leds = 8;
        const WheelWeb web(lines, leds, 80, 16);
        // Ink only around the middle of the rim cell between 15/16 of a turn and a full turn.
        QImage picture = filled(0);
        const double middle = (lines - 0.5) * 2 * M_PI / lines;
        for (int r = 232; r < 256; ++r)
            for (int s = -20; s <= 20; ++s) {
                const double a = middle + s * 0.004;
                picture.setPixel(int(256 + r * std::cos(a)), int(256 + r * std::sin(a)),
                                 qRgba(0, 0, 0, 255));
            }
        const QByteArray frame = FrameEncoder::encode(picture, web.getCenters());
        QCOMPARE(quint8(frame[0]), quint8(0x80));
        QCOMPARE(frame.mid(1), QByteArray(frame.size() - 1, '\0'));
    }

    void hallRotation_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("offset");
        QTest::newRow("270 leaves it") << 270 << 0;
        QTest::newRow("0 turns by 48 columns") << 0 << 96;
        QTest::newRow("300 means a shift of 330") << 300 << (330 * 64 / 360) * 2;
    }

    void hallRotation()
    {
        QFETCH(int, value);
        QFETCH(int, offset);
        QByteArray frame(64 * 16 / 8, '\0');
        for (int i = 0; i < frame.size(); ++i)
            frame[i] = char(i);
        const QByteArray rotated = FrameEncoder::rotate(frame, value, 360, 64, 16);
        QCOMPARE(rotated, frame.mid(offset) + frame.left(offset));
    }

    void keysCarryOverAndHallApplies()
    {
        const WheelWeb web(64, 16, 80, 16);
        QPixmap lit(512, 512);
        lit.fill(Qt::black);
        QPixmap dark(512, 512);
        dark.fill(Qt::transparent);
        const QMap<int, QByteArray> frames =
            FrameEncoder::encodeAll({{0, lit}, {3, dark}}, web, false, 0, 360);
        QCOMPARE(frames.keys(), (QList<int>{0, 3}));
        QCOMPARE(frames[0], QByteArray(128, char(0xFF)));
        QCOMPARE(frames[3], QByteArray(128, '\0'));

        QImage half(512, 512, QImage::Format_ARGB32);
        half.fill(0);
        for (int y = 0; y < 512; ++y)
            for (int x = 0; x < 256; ++x)
                half.setPixel(x, y, qRgba(0, 0, 0, 255));
        const QByteArray plain = FrameEncoder::encode(half, web.getCenters());
        const QMap<int, QByteArray> turned =
            FrameEncoder::encodeAll({{1, QPixmap::fromImage(half)}}, web, true, 0, 360);
        QCOMPARE(turned[1], plain.mid(96) + plain.left(96));
    }
};

RIMGLOW_TEST(FrameEncoderTest)
#include "tst_frameencoder.moc"
