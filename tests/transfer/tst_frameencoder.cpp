#include "model/wheelweb.h"
#include "testsuite.h"
#include "transfer/frameencoder.h"

#include <QPainter>
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
    void bitsLengthAndOrder()
    {
        // 25 x 4 = 100 cells: 13 bytes, the low 4 bits of the last one unused.
        const WheelWeb web(25, 4, 80, 16);
        const QByteArray lit = QByteArray(12, char(0xFF)) + char(0xF0);
        for (int alpha : {0, 1, 128, 129, 255})
            QCOMPARE(FrameEncoder::encode(filled(qRgba(0, 0, 0, alpha)), web.getCenters()),
                     alpha > 128 ? lit : QByteArray(13, '\0'));
        QCOMPARE(FrameEncoder::encode(filled(0), {}), QByteArray(1, '\0'));

        // The first bit is the rim of the last angle: ink only around the middle of the rim
        // cell between 15/16 of a turn and a full turn of a 16 x 8 wheel.
        QImage picture = filled(0);
        const double middle = 15.5 * 2 * M_PI / 16;
        for (int r = 232; r < 256; ++r)
            for (int s = -20; s <= 20; ++s) {
                const double a = middle + s * 0.004;
                picture.setPixel(int(256 + r * std::cos(a)), int(256 + r * std::sin(a)),
                                 qRgba(0, 0, 0, 255));
            }
        const QByteArray frame =
            FrameEncoder::encode(picture, WheelWeb(16, 8, 80, 16).getCenters());
        QCOMPARE(frame, char(0x80) + QByteArray(frame.size() - 1, '\0'));
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
        QCOMPARE(FrameEncoder::rotate(frame, value, 360, 64, 16),
                 frame.mid(offset) + frame.left(offset));
        // All of it, as a transfer encodes it, keeping each picture's slot.
        const WheelWeb web(64, 16, 80, 16);
        QImage half = filled(0);
        QPainter(&half).fillRect(0, 0, 256, 512, Qt::black);
        const QByteArray plain = FrameEncoder::encode(half, web.getCenters());
        const QMap<int, QByteArray> frames = FrameEncoder::encodeAll(
            {{1, QPixmap::fromImage(half)}, {4, QPixmap::fromImage(filled(0))}}, web, true, value,
            360);
        QCOMPARE(frames.keys(), (QList<int>{1, 4}));
        QCOMPARE(frames[1], plain.mid(offset) + plain.left(offset));
        QCOMPARE(FrameEncoder::encodeAll({{1, QPixmap::fromImage(half)}}, web, false, value, 360),
                 (QMap<int, QByteArray>{{1, plain}}));
    }
};

RIMGLOW_TEST(FrameEncoderTest)
#include "tst_frameencoder.moc"
