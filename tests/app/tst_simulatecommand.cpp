#include "app/mainwindow.h"
#include "menuentries.h"
#include "model/wheelpanel.h"
#include "model/wheelweb.h"
#include "product.h"
#include "resources/hiddenfile.h"
#include "resources/resource.h"
#include "simulation/simulatedialog.h"
#include "simulation/simulator.h"
#include "simulation/speedmeter.h"
#include "testsuite.h"
#include "transfer/frameencoder.h"

#include <QGuiApplication>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QTest>

#define NEEDS_OPENGL()                                                                             \
    if (QGuiApplication::platformName() != "xcb")                                                  \
        QSKIP("needs a platform with OpenGL (run under Xvfb)");

namespace {

// How much of each colour the simulated wheel shows.
struct Shown {
    int red = 0, green = 0, blue = 0;
};

Shown shownColours(Simulator* simulator)
{
    const QImage frame = simulator->grabFramebuffer();
    Shown shown;
    for (int y = 0; y < frame.height(); y += 2)
        for (int x = 0; x < frame.width(); x += 2) {
            const QColor c = frame.pixelColor(x, y);
            shown.red += c.red() > 100 && c.green() < 60 && c.blue() < 60;
            shown.green += c.green() > 100 && c.red() < 60 && c.blue() < 60;
            shown.blue += c.blue() > 100 && c.red() < 60 && c.green() < 60;
        }
    return shown;
}

// Lets the animation draw a few frames.
void turn()
{
    QTest::qWait(150);
}

QList<bool> allLit(int count)
{
    return QList<bool>(count, true);
}

} // namespace

class SimulateCommandTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { HiddenFile::write("language", "en"); }

    // Half-transparent ink lights the LED in the preview but would not light it on the wheel.
    void semiTransparentInkLightsOnlyTheSimulation()
    {
        NEEDS_OPENGL();
        Product product(Product::demo());
        MainWindow window(product.configuration.get());
        const WheelWeb web(16, 8, 80, 16);
        const int cell = 3 * 8 + 5; // position 3, LED 5
        QPixmap ink(512, 512);
        ink.fill(Qt::transparent);
        QPainter painter(&ink);
        painter.fillRect(QRectF(web.getCenters()[cell] - QPointF(3, 3), QSizeF(6, 6)),
                         QColor(0, 0, 0, 100));
        painter.end();
        window.setPixmap(ink, QPainter::CompositionMode_SourceOver, "DRAW");

        QAction* simulation = entry(&window, "SIMULATION");
        QVERIFY(simulation);
        simulation->trigger();
        SimulateDialog* dialog = window.getSimulateDialog();
        QVERIFY(dialog->isVisible());
        // Over the main window, not wherever the platform puts a new window.
        QVERIFY((dialog->frameGeometry().center() - window.frameGeometry().center())
                    .manhattanLength() <= 2);
        const QImage leds = dialog->getSimulator()->getPicture();
        QCOMPARE(leds.size(), QSize(8 * 16, 8 * 8));
        // One streak, the one of position 3 and LED 5, and nothing else.
        QVERIFY(qAlpha(leds.pixel(8 * 3 + 7, 8 * 5 + 4)) > 200);
        const QRect streak(8 * 3, 8 * 5, 14, 8);
        for (int y = 0; y < leds.height(); ++y)
            for (int x = 0; x < leds.width(); ++x)
                if (qAlpha(leds.pixel(x, y)) > 0)
                    QVERIFY2(streak.contains(x, y), qPrintable(QString("%1,%2").arg(x).arg(y)));

        const QImage picture = window.getCurrent()->getPixmap().toImage();
        QCOMPARE(FrameEncoder::encode(picture, web.getCenters()), QByteArray(16, 0));
        dialog->close();
    }

    void streaksOfTheLastPositionComeBackAtTheLeft()
    {
        NEEDS_OPENGL();
        Product product(Product::demo());
        SimulateDialog dialog(product.configuration.get());
        bool states[4 * 2] = {};
        states[3 * 2 + 1] = true; // last position, lower LED
        dialog.toShow(states, 4, 2);
        const QImage leds = dialog.getSimulator()->getPicture();
        QCOMPARE(leds.size(), QSize(32, 16));
        QVERIFY(qAlpha(leds.pixel(28, 12)) > 200);
        QVERIFY(qAlpha(leds.pixel(2, 12)) > 100);
        QCOMPARE(qAlpha(leds.pixel(14, 12)), 0);
        QCOMPARE(qAlpha(leds.pixel(28, 4)), 0);

        // A product without positions shows a dark wheel instead of failing.
        dialog.toShow(states, 0, 2);
        QVERIFY(!dialog.getSimulator()->getPicture().isNull());
        dialog.close();
    }

    // Packages map in name order: "blue" comes before "red".
    void barsTakeThePackageTheUserPicks()
    {
        NEEDS_OPENGL();
        Product product(Product::demo());
        SimulateDialog dialog(product.configuration.get());
        QCOMPARE(dialog.getPackageList()->count(), 2);
        QCOMPARE(dialog.getPackageList()->currentRow(), -1);
        QList<bool> states = allLit(16 * 8);
        dialog.toShow(states.data(), 16, 8);
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        turn();
        Shown shown = shownColours(dialog.getSimulator());
        QVERIFY2(shown.blue > 1000, qPrintable(QString::number(shown.blue)));
        QCOMPARE(shown.red, 0);

        dialog.getPackageList()->setCurrentRow(1);
        turn();
        shown = shownColours(dialog.getSimulator());
        QVERIFY(shown.red > 1000);
        QCOMPARE(shown.blue, 0);

        // Standing still, every band of a trail lies on one line: nothing to see.
        dialog.getSpeedMeter()->setValue(0);
        turn();
        shown = shownColours(dialog.getSimulator());
        QVERIFY(shown.red < 50);
        dialog.close();
    }

    void packageWithoutLightsShowsUnlitBars()
    {
        NEEDS_OPENGL();
        // Five colours fit ten LEDs but not the sixteen rows of a light.
        Product product({"-n", "DEMO", "-s", "16x10", "-o", "80", "-i", "16", "-v", "D12x3", "-c",
                         "green+redxgreenxbluexwhitexyellow"});
        QVERIFY(product.configuration->isValid());
        SimulateDialog dialog(product.configuration.get());
        QCOMPARE(dialog.getPackageList()->count(), 2);
        QList<bool> states = allLit(16 * 10);
        dialog.toShow(states.data(), 16, 10);
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        turn();
        QVERIFY(shownColours(dialog.getSimulator()).green > 1000);
        dialog.getPackageList()->setCurrentRow(1);
        QCOMPARE(dialog.getSimulator()->getColorIndex(), (QList<int>{-1, -1, -1}));
        turn();
        const Shown shown = shownColours(dialog.getSimulator());
        QCOMPARE(shown.green + shown.red + shown.blue, 0);
        dialog.close();
    }

    void closingStopsAndShowingAgainRebuilds()
    {
        NEEDS_OPENGL();
        Product product(Product::demo());
        SimulateDialog dialog(product.configuration.get());
        QList<bool> states = allLit(16 * 8);
        dialog.toShow(states.data(), 16, 8);
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        turn();
        Simulator* simulator = dialog.getSimulator();
        QCOMPARE(simulator->textureCount(), 2);
        QVERIFY(simulator->isRunning());

        QTest::mouseClick(dialog.getExitButton(), Qt::LeftButton);
        QVERIFY(!dialog.isVisible());
        QVERIFY(!simulator->isRunning());
        QCOMPARE(simulator->textureCount(), 0);

        dialog.getPackageList()->setCurrentRow(1);
        dialog.toShow(states.data(), 16, 8);
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        turn();
        QCOMPARE(simulator->textureCount(), 2);
        // The choice of colours outlives the closing.
        QVERIFY(shownColours(simulator).red > 1000);
        dialog.close();
    }
};

RIMGLOW_TEST(SimulateCommandTest)
#include "tst_simulatecommand.moc"
