#include "config/argparser.h"
#include "product.h"
#include "simulation/packagepreview.h"
#include "testsuite.h"

#include <QImage>
#include <QTest>

#include <cmath>

namespace {

QColor pixelAt(const QImage& image, double radius, double degrees)
{
    const double a = degrees * M_PI / 180;
    return image.pixelColor(int(256 + radius * std::cos(a)), int(256 - radius * std::sin(a)));
}

} // namespace

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
        const double middle = c.getX(8) - 256;
        const double hub = c.getX(16) - 256;
        const auto preview = [&c](const QList<QColor>& colors) {
            return packagePreview(c, colors).toImage();
        };
        const QImage red = preview({Qt::red});
        QCOMPARE(red.size(), QSize(512, 512));
        QCOMPARE(pixelAt(red, 250, 90), QColor(Qt::red));
        QCOMPARE(pixelAt(red, hub + 2, 200), QColor(Qt::red));
        QCOMPARE(pixelAt(red, hub - 2, 200).alpha(), 0);
        // Two colours: bands equally wide in LEDs.
        const QImage bands = preview({Qt::red, Qt::blue});
        QCOMPARE(pixelAt(bands, middle + 2, 45), QColor(Qt::red));
        QCOMPARE(pixelAt(bands, middle - 2, 45), QColor(Qt::blue));
        QCOMPARE(pixelAt(bands, hub - 2, 45).alpha(), 0);
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

RIMGLOW_TEST(PackagePreviewTest)
#include "tst_packagepreview.moc"
