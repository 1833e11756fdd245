#include "product.h"
#include "simulation/ledpicture.h"
#include "simulation/packagepreview.h"
#include "simulation/simulator.h"
#include "simulation/speedmeter.h"
#include "testsuite.h"

#include <QPainter>
#include <QRadialGradient>
#include <QRandomGenerator>
#include <QTest>

#include <cmath>

namespace {

QColor pixelAt(const QImage& image, double radius, double degrees)
{
    const double a = degrees * M_PI / 180;
    return image.pixelColor(int(256 + radius * std::cos(a)), int(256 - radius * std::sin(a)));
}

// The LED picture as it used to be drawn, dot by dot, at full size.
QImage drawnLeds(const QList<bool>& states, int lines, int leds)
{
    QRadialGradient dot(4, 4, 4);
    dot.setColorAt(0, Qt::white);
    dot.setColorAt(1, Qt::transparent);
    QImage image(8 * lines, 8 * leds, QImage::Format_ARGB32);
    image.fill(0);
    QPainter painter(&image);
    painter.setPen(Qt::NoPen);
    painter.setBrush(dot);
    const auto paintPoint = [&painter](int x, int y) {
        painter.save();
        painter.translate(x, y);
        painter.drawRect(0, 0, 31, 31);
        painter.restore();
    };
    for (int q = 0; q < 4 * lines; ++q) {
        const int c = q / 4;
        for (int j = 0; j < leds; ++j) {
            if (!states[c * leds + j])
                continue;
            paintPoint(2 * q, 8 * j);
            if (c == lines - 1)
                paintPoint(2 * q - 8 * lines, 8 * j);
        }
    }
    return image;
}

// Lit states by name: none, all, alternating positions, the last position only, one LED in
// every position, and half of them at random.
QList<bool> pattern(const QString& name, int lines, int leds)
{
    QList<bool> states(lines * leds);
    QRandomGenerator random(7);
    for (int c = 0; c < lines; ++c)
        for (int j = 0; j < leds; ++j)
            states[c * leds + j] = name == "all" || (name == "alternating" && c % 2 == 0) ||
                                   (name == "last" && c == lines - 1) ||
                                   (name == "one LED" && j == leds / 2) ||
                                   (name == "random" && random.bounded(2));
    return states;
}

// What the simulator makes of a picture before colouring it.
QImage stretched(const QImage& leds)
{
    return leds.scaled(Simulator::textureSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
        .convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

} // namespace

class LedPictureTest : public QObject {
    Q_OBJECT
private slots:
    void asDrawn_data()
    {
        QTest::addColumn<int>("lines");
        QTest::addColumn<int>("leds");
        QTest::addColumn<QString>("pattern");
        for (const char* name : {"none", "all", "alternating", "last", "one LED", "random"})
            for (const QSize grid : {QSize(16, 8), QSize(128, 32), QSize(3, 1), QSize(1, 2)})
                QTest::addRow("%dx%d %s", grid.width(), grid.height(), name)
                    << grid.width() << grid.height() << QString(name);
    }

    // Up to the texture size the picture is the drawing, pixel for pixel.
    void asDrawn()
    {
        QFETCH(int, lines);
        QFETCH(int, leds);
        QFETCH(QString, pattern);
        const QList<bool> states = ::pattern(pattern, lines, leds);
        QCOMPARE(LedPicture().build(states.data(), lines, leds, Simulator::textureSize),
                 drawnLeds(states, lines, leds));
    }

    void averaged_data()
    {
        QTest::addColumn<int>("lines");
        QTest::addColumn<int>("leds");
        QTest::addColumn<QString>("pattern");
        for (const char* name : {"all", "alternating", "random"})
            for (const QSize grid : {QSize(1024, 8), QSize(256, 128), QSize(200, 96)})
                QTest::addRow("%dx%d %s", grid.width(), grid.height(), name)
                    << grid.width() << grid.height() << QString(name);
    }

    // Larger grids are built at the texture size straight away, and look on the wheel as the
    // full drawing scaled down would: the same lit and unlit places, and hardly a shade apart.
    void averaged()
    {
        QFETCH(int, lines);
        QFETCH(int, leds);
        QFETCH(QString, pattern);
        const QList<bool> states = ::pattern(pattern, lines, leds);
        const QImage built = LedPicture().build(states.data(), lines, leds, Simulator::textureSize);
        QCOMPARE(built.size(), QSize(8 * lines, 8 * leds).boundedTo(Simulator::textureSize));
        const QImage shown = stretched(built), expected = stretched(drawnLeds(states, lines, leds));
        qint64 difference = 0, unlike = 0;
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x) {
                const int a = qAlpha(shown.pixel(x, y)), b = qAlpha(expected.pixel(x, y));
                difference += qAbs(a - b);
                unlike += (a > 64) != (b > 64);
            }
        const double pixels = shown.width() * shown.height();
        QVERIFY(difference / pixels < 1.5);
        QVERIFY(unlike / pixels < 0.01);
    }
};

// The turning itself, which needs no drawing.
class SimulatorTest : public QObject {
    Q_OBJECT
private slots:
    void turning()
    {
        QList<QImage> lights{QImage(1, 16, QImage::Format_ARGB32)};
        Simulator simulator(256, 240, 13, 180, 16, &lights);
        // Stopping a view that never drew must not touch OpenGL.
        simulator.stop();
        QCOMPARE(simulator.textureCount(), 0);
        // Packages without three lights leave bars unlit.
        QCOMPARE(simulator.getColorIndex(), (QList<int>{0, 0, 0}));
        simulator.setColor({2, 1, 0, 5});
        QCOMPARE(simulator.getColorIndex(), (QList<int>{2, 1, 0}));
        simulator.setColor({});
        QCOMPARE(simulator.getColorIndex(), (QList<int>{-1, -1, -1}));
        // The columns cycle through one more than their count.
        simulator.updateAngle();
        QCOMPARE(simulator.getColumn(), 180.0);
        for (int i = 1; i < 181; ++i)
            simulator.updateAngle();
        QCOMPARE(simulator.getColumn(), 0.0);
        // At about 17 mph the picture stands still; the angle grows past a full turn.
        simulator.setSpeed(17.06);
        QVERIFY(qAbs(181 * simulator.getSweepStep() - 360) < 0.1);
        const double start = simulator.getSweepAngle();
        for (int i = 0; i < 181; ++i)
            simulator.updateAngle();
        QVERIFY(qAbs(simulator.getSweepAngle() - start - 181 * simulator.getSweepStep()) < 1e-9);
        Simulator backwards(256, 240, 13, 180, 16, &lights);
        backwards.setSpeed(-1);
        backwards.updateAngle();
        QVERIFY(backwards.getSweepAngle() > 359);
    }

    // A texture is the picture mirrored, bottom row first, each pixel in the light's colour at
    // its height as painting the light over it with source-in gives it.
    void texels()
    {
        const QList<bool> states = pattern("random", 128, 32);
        const QImage lit =
            stretched(LedPicture().build(states.data(), 128, 32, Simulator::textureSize));
        QImage light(1, 16, QImage::Format_ARGB32);
        for (int row = 0; row < 16; ++row)
            light.setPixel(0, row, qRgba(16 * row, 255 - 16 * row, 100, row == 3 ? 0 : 255));
        QImage painted = lit.mirrored(true, false);
        QPainter painter(&painted);
        painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
        painter.drawImage(painted.rect(), light.scaled(Simulator::textureSize));
        painter.end();
        const QImage expected = painted.convertToFormat(QImage::Format_RGBA8888).mirrored();
        const QImage texels = Simulator::texels(lit, light);
        QCOMPARE(texels.format(), expected.format());
        QCOMPARE(texels.size(), expected.size());
        int worst = 0;
        for (qsizetype i = 0; i < texels.sizeInBytes(); ++i)
            worst = qMax(worst, qAbs(texels.constBits()[i] - expected.constBits()[i]));
        QVERIFY(worst <= 1);
    }
};

class SpeedMeterTest : public QObject {
    Q_OBJECT
private slots:
    // The dial in tenths of a mph up to 25 mph.
    void picturesAndDisplay()
    {
        SpeedMeter meter(15);
        QCOMPARE(meter.value(), 150);
        meter.setValue(400);
        QCOMPARE(meter.value(), 250);
        const QImage face = meter.getFace().toImage();
        QCOMPARE(QColor(face.pixel(128, 8)), QColor(Qt::magenta));
        // The last number, 25, beside the end of the arc: opaque, where the glow alone is not.
        const QImage label = face.copy(172, 192, 24, 18).convertToFormat(QImage::Format_Alpha8);
        QVERIFY(QByteArray::fromRawData(reinterpret_cast<const char*>(label.constBits()),
                                        label.sizeInBytes())
                    .contains(char(255)));
        // 150 tenths of a mph are 24 km/h: the digits follow the km/h, not the dial; the needle
        // points down to the left at 0 and down to the right at 250.
        meter.resize(200, 200);
        QList<QImage> at;
        for (int value : {150, 149, 130, 190, 0, 250}) {
            meter.setValue(value);
            at << meter.grab().toImage();
        }
        const QRect tens(64, 120, 10, 20), units(76, 120, 10, 20);
        QCOMPARE(at[0].copy(tens), at[1].copy(tens)); // 23.97 km/h, cut to 23
        QVERIFY(at[0].copy(units) != at[1].copy(units));
        QCOMPARE(at[0].copy(tens), at[2].copy(tens));  // 20.9 km/h
        QVERIFY(at[0].copy(tens) != at[3].copy(tens)); // 30.6 km/h
        QCOMPARE(at[2].copy(units), at[3].copy(units));
        const QPoint lowLeft(70, 152), lowRight(130, 152);
        QVERIFY(qGray(at[4].pixel(lowLeft)) > qGray(at[5].pixel(lowLeft)));
        QVERIFY(qGray(at[5].pixel(lowRight)) > qGray(at[4].pixel(lowRight)));
    }
};

// The pictures of the colour packages the simulation offers.
class PackagePreviewTest : public QObject {
    Q_OBJECT
private slots:
    // The previews paint their colours between the ring boundaries and leave the hub inside
    // the innermost LED clear.
    void previews()
    {
        Product product({"-s", "64x16", "-o", "80", "-i", "16"});
        const ArgParser& c = *product.configuration;
        const double middle = c.getX(8) - 256, hub = c.getX(16) - 256;
        const auto preview = [&c](const QList<QColor>& colors) {
            return packagePreview(c, colors).toImage();
        };
        const QImage red = preview({Qt::red});
        QCOMPARE(pixelAt(red, 250, 90), QColor(Qt::red));
        QCOMPARE(pixelAt(red, hub + 2, 200), QColor(Qt::red));
        QCOMPARE(pixelAt(red, hub - 2, 200).alpha(), 0);
        // Two colours: bands equally wide in LEDs.
        const QImage bands = preview({Qt::red, Qt::blue});
        QCOMPARE(pixelAt(bands, middle + 2, 45), QColor(Qt::red));
        QCOMPARE(pixelAt(bands, middle - 2, 45), QColor(Qt::blue));
        // Three colours: sectors.
        const QImage sectors = preview({Qt::red, Qt::green, Qt::blue});
        QCOMPARE(pixelAt(sectors, 200, 60), QColor(Qt::red));
        QCOMPARE(pixelAt(sectors, 200, 180), QColor(Qt::green));
        QCOMPARE(pixelAt(sectors, 200, 300), QColor(Qt::blue));
        // A single LED has no hub to leave out, two LEDs have one.
        for (const int leds : {1, 2}) {
            Product small({"-s", QString("8x%1").arg(leds), "-o", "80", "-i", "16"});
            QCOMPARE(
                pixelAt(packagePreview(*small.configuration, {Qt::red}).toImage(), 0, 0).alpha(),
                leds == 1 ? 255 : 0);
        }
    }
};

RIMGLOW_TEST(LedPictureTest)
RIMGLOW_TEST(SimulatorTest)
RIMGLOW_TEST(SpeedMeterTest)
RIMGLOW_TEST(PackagePreviewTest)
#include "tst_simulation.moc"
