#include "testsuite.h"
#include "tools/imageconverter.h"

#include <QImage>
#include <QTest>

class ImageConverterTest : public QObject {
    Q_OBJECT
private slots:
    // A field of one colour; the share of it that becomes ink lies between the lowest and the
    // highest share expected (equal where the rule leaves no choice).
    void inkShareOfAField_data()
    {
        QTest::addColumn<QRgb>("colour");
        QTest::addColumn<int>("threshold");
        QTest::addColumn<bool>("invert");
        QTest::addColumn<bool>("dither");
        QTest::addColumn<double>("lowest");
        QTest::addColumn<double>("highest");
        const auto grey = [](int level, int alpha = 255) {
            return qRgba(level, level, level, alpha);
        };
        QTest::newRow("grey 127 is ink") << grey(127) << 128 << false << false << 1.0 << 1.0;
        QTest::newRow("grey 128 is not") << grey(128) << 128 << false << false << 0.0 << 0.0;
        // 16 x 255 / 32 is 127.5: the grey level is truncated, not rounded.
        QTest::newRow("pure green is grey 127")
            << qRgb(0, 255, 0) << 128 << false << false << 1.0 << 1.0;
        QTest::newRow("yellow is light")
            << qRgb(255, 255, 0) << 128 << false << false << 0.0 << 0.0;
        QTest::newRow("alpha 128 is never ink")
            << grey(0, 128) << 128 << false << false << 0.0 << 0.0;
        QTest::newRow("alpha 129 is") << grey(0, 129) << 128 << false << false << 1.0 << 1.0;
        QTest::newRow("threshold 0 leaves black empty")
            << grey(0) << 0 << false << false << 0.0 << 0.0;
        QTest::newRow("threshold 255 takes grey 254")
            << grey(254) << 255 << false << false << 1.0 << 1.0;
        QTest::newRow("threshold 255 leaves white")
            << grey(255) << 255 << false << false << 0.0 << 0.0;
        QTest::newRow("inverted, grey 128 is ink")
            << grey(128) << 128 << true << false << 1.0 << 1.0;
        QTest::newRow("inverted, grey 127 is not")
            << grey(127) << 128 << true << false << 0.0 << 0.0;
        QTest::newRow("inverted, threshold 0 takes black")
            << grey(0) << 0 << true << false << 1.0 << 1.0;
        QTest::newRow("inverted, transparent white stays empty")
            << grey(255, 128) << 128 << true << false << 0.0 << 0.0;
        QTest::newRow("dithered black") << grey(0) << 128 << false << true << 1.0 << 1.0;
        QTest::newRow("dithered white") << grey(255) << 128 << false << true << 0.0 << 0.0;
        QTest::newRow("dithered mid grey") << grey(128) << 128 << false << true << 0.47 << 0.53;
        QTest::newRow("dithered dark grey") << grey(64) << 128 << false << true << 0.72 << 0.78;
        QTest::newRow("dithered and inverted dark grey")
            << grey(64) << 128 << true << true << 0.22 << 0.28;
        // With dither the threshold is the grey that comes out as half dots.
        QTest::newRow("dithered dark grey at its own threshold")
            << grey(64) << 64 << false << true << 0.47 << 0.53;
        QTest::newRow("dithered black at the top threshold")
            << grey(0) << 255 << false << true << 1.0 << 1.0;
    }

    void inkShareOfAField()
    {
        QFETCH(QRgb, colour);
        QFETCH(int, threshold);
        QFETCH(bool, invert);
        QFETCH(bool, dither);
        QFETCH(double, lowest);
        QFETCH(double, highest);
        QImage field(64, 64, QImage::Format_ARGB32);
        field.fill(colour);
        ImageConverter converter;
        converter.threshold = threshold;
        converter.invert = invert;
        converter.dither = dither;
        const QImage ink = converter.toInk(field);
        QCOMPARE(ink.size(), field.size());
        QCOMPARE(ink.format(), QImage::Format_ARGB32);
        int inked = 0;
        for (int y = 0; y < ink.height(); ++y)
            for (int x = 0; x < ink.width(); ++x) {
                const QRgb pixel = ink.pixel(x, y);
                QVERIFY(pixel == 0 || pixel == 0xFF000000);
                inked += pixel != 0;
            }
        const double share = double(inked) / (ink.width() * ink.height());
        QVERIFY2(share >= lowest && share <= highest, qPrintable(QString::number(share)));
    }
};

RIMGLOW_TEST(ImageConverterTest)
#include "tst_imageconverter.moc"
