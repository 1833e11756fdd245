#include "model/superfastblur.h"
#include "testsuite.h"

#include <QRandomGenerator>
#include <QTest>

#include <vector>

namespace {

// A plain box blur with clamped edges, one pass per direction, integer division after each.
QImage boxBlur(const QImage& source, int radius)
{
    const QImage in = source.convertToFormat(QImage::Format_ARGB32);
    const int w = in.width(), h = in.height(), div = 2 * radius + 1;
    std::vector<int> across(size_t(w) * h * 4);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            for (int c = 0; c < 4; ++c) {
                int sum = 0;
                for (int i = -radius; i <= radius; ++i)
                    sum += in.constScanLine(y)[4 * qBound(0, x + i, w - 1) + c];
                across[(size_t(y) * w + x) * 4 + c] = sum / div;
            }
    QImage out(w, h, QImage::Format_ARGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            for (int c = 0; c < 4; ++c) {
                int sum = 0;
                for (int i = -radius; i <= radius; ++i)
                    sum += across[(size_t(qBound(0, y + i, h - 1)) * w + x) * 4 + c];
                out.scanLine(y)[4 * x + c] = uchar(sum / div);
            }
    return out;
}

QImage randomImage(int w, int h)
{
    QImage image(w, h, QImage::Format_ARGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w * 4; ++x)
            image.scanLine(y)[x] = uchar(QRandomGenerator::global()->bounded(256));
    return image;
}

} // namespace

class SuperFastBlurTest : public QObject {
    Q_OBJECT
private slots:
    void radiusZeroLeavesThePicture()
    {
        const QPixmap picture = QPixmap::fromImage(randomImage(20, 10));
        QCOMPARE(superFastBlur(picture, 0).toImage(), picture.toImage());
        QCOMPARE(superFastBlur(picture, -3).toImage(), picture.toImage());
    }

    void singlePixelKeepsItsChannels()
    {
        QImage one(1, 1, QImage::Format_ARGB32);
        one.setPixel(0, 0, qRgba(10, 200, 33, 255));
        const QImage blurred = superFastBlur(QPixmap::fromImage(one), 2).toImage();
        QCOMPARE(blurred.convertToFormat(QImage::Format_ARGB32).pixel(0, 0),
                 qRgba(10, 200, 33, 255));
    }

    void matchesAPlainBoxBlur_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("radius");
        QTest::newRow("37x23 r1") << 37 << 23 << 1;
        QTest::newRow("37x23 r2") << 37 << 23 << 2;
        QTest::newRow("tall r5") << 6 << 40 << 5;
        QTest::newRow("radius wider than the picture") << 3 << 4 << 7;
    }

    void matchesAPlainBoxBlur()
    {
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(int, radius);
        const QImage image = randomImage(width, height);
        // Through a pixmap the channels must survive unpremultiplied: keep pixels opaque.
        QImage opaque = image;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                opaque.setPixel(x, y, image.pixel(x, y) | 0xff000000);
        const QImage blurred = superFastBlur(QPixmap::fromImage(opaque), radius)
                                   .toImage()
                                   .convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(blurred, boxBlur(opaque, radius));
    }
};

RIMGLOW_TEST(SuperFastBlurTest)
#include "tst_superfastblur.moc"
