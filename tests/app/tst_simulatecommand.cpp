#include "model/design.h"
#include "model/layerwidget.h"
#include "simulation/simulatedialog.h"
#include "simulation/simulator.h"
#include "simulation/speedmeter.h"
#include "windowhelpers.h"

namespace {

struct Shown {
    int red = 0, green = 0, blue = 0;
};

// How much of each colour the simulated wheel shows once it has drawn a few frames; given a
// size, first with every LED lit, in the dialog shown for it.
Shown shown(SimulateDialog* dialog, int lines = 0, int leds = 0)
{
    if (lines) {
        QList<bool> lit(lines * leds, true);
        dialog->toShow(lit.data(), lines, leds);
        if (!QTest::qWaitForWindowExposed(dialog))
            return {};
    }
    QTest::qWait(150);
    const QImage frame = dialog->getSimulator()->grabFramebuffer();
    Shown seen;
    for (int y = 0; y < frame.height(); y += 2)
        for (int x = 0; x < frame.width(); x += 2) {
            const QColor c = frame.pixelColor(x, y);
            seen.red += c.red() > 100 && c.green() < 60 && c.blue() < 60;
            seen.green += c.green() > 100 && c.red() < 60 && c.blue() < 60;
            seen.blue += c.blue() > 100 && c.red() < 60 && c.green() < 60;
        }
    return seen;
}

} // namespace

class SimulateCommandTest : public QObject {
    Q_OBJECT

private slots:

    void init()
    {
        if (QGuiApplication::platformName() == "offscreen")
            QSKIP("needs a platform with OpenGL (run under Xvfb)");
    }

    // The preview lights what the wheel will light: ink more than half opaque, not ink at half
    // or less (a half-transparent picture lights nothing on the wheel); streaks of the last
    // position come back at the left. The bars take the package the user picks (in name order:
    // "blue" before "red"), which outlives closing; closing stops the wheel and frees its textures,
    // showing again rebuilds them; standing still, every band of a trail lies on one line: nothing
    // to see.
    void previewShowsTurnsAndStops()
    {
        DemoWindow window;
        const WheelWeb web(16, 8, 80, 16);
        const int cell = 3 * 8 + 5; // position 3, LED 5
        ink(&window, (web.getCenters()[cell] - QPointF(4, 4)).toPoint(), 129);
        ink(&window, (web.getCenters()[cell + 8] - QPointF(4, 4)).toPoint(), 128);
        entry(&window, "SIMULATION")->trigger();
        SimulateDialog* dialog = window.getSimulateDialog();
        QVERIFY(dialog->isVisible());
        Simulator* simulator = dialog->getSimulator();
        QImage leds = simulator->getPicture();
        QVERIFY(qAlpha(leds.pixel(8 * 3 + 7, 8 * 5 + 4)) > 200);
        QCOMPARE(qAlpha(leds.pixel(8 * 3 + 7, 8 * 4 + 4)), 0);
        QCOMPARE(qAlpha(leds.pixel(8 * 4 + 7, 8 * 5 + 4)), 0);
        bool states[4 * 2] = {};
        states[3 * 2 + 1] = true; // last position, lower LED
        dialog->toShow(states, 4, 2);
        leds = simulator->getPicture();
        QVERIFY(qAlpha(leds.pixel(28, 12)) > 200 && qAlpha(leds.pixel(2, 12)) > 100);
        QVERIFY(qAlpha(leds.pixel(14, 12)) == 0 && qAlpha(leds.pixel(28, 4)) == 0);
        // A product without positions shows a dark wheel instead of failing.
        dialog->toShow(states, 0, 2);
        QVERIFY(!simulator->getPicture().isNull());

        Shown colours = shown(dialog, 16, 8);
        QVERIFY(colours.blue > 1000 && colours.red == 0);
        dialog->getPackageList()->setCurrentRow(1);
        colours = shown(dialog);
        QVERIFY(colours.red > 1000 && colours.blue == 0 && simulator->isRunning());
        QTest::mouseClick(dialog->getExitButton(), Qt::LeftButton);
        QVERIFY(!dialog->isVisible() && !simulator->isRunning());
        QCOMPARE(simulator->textureCount(), 0);
        QVERIFY(shown(dialog, 16, 8).red > 1000);
        QCOMPARE(simulator->textureCount(), 2);
        dialog->getSpeedMeter()->setValue(0);
        QVERIFY(shown(dialog).red < 50);
        dialog->close();
    }

    // Five colours fit ten LEDs but not the sixteen rows of a light: the bars stay unlit.
    void packageWithoutLightsShowsUnlitBars()
    {
        Product product({"-n", "DEMO", "-s", "16x10", "-o", "80", "-i", "16", "-v", "D12x3", "-c",
                         "green+redxgreenxbluexwhitexyellow"});
        SimulateDialog dialog(product.configuration.get());
        QVERIFY(shown(&dialog, 16, 10).green > 1000);
        dialog.getPackageList()->setCurrentRow(1);
        const Shown colours = shown(&dialog);
        QCOMPARE(colours.green + colours.red + colours.blue, 0);
        dialog.close();
    }

    // The wheel plays the ticked slots in turn at the slot list's rate, and shows the current
    // picture again when stopped; with nothing ticked there is nothing to play.
    void playsTheTickedSlots()
    {
        DemoWindow window;
        const WheelWeb web(16, 8, 80, 16);
        const int first = 3 * 8 + 5, second = 10 * 8 + 2;
        const auto lit = [](const QImage& leds, int cell) {
            return qAlpha(leds.pixel(8 * (cell / 8) + 7, 8 * (cell % 8) + 4)) > 200;
        };
        ink(&window, (web.getCenters()[first] - QPointF(4, 4)).toPoint());
        window.getCurrentDesign()->chooseRow(1);
        ink(&window, (web.getCenters()[second] - QPointF(4, 4)).toPoint());
        window.getCurrentDesign()->tick(2, false);
        LayerWidget* layers = window.getLayerWidget(window.getCurrent());
        layers->getRateBox()->setValue(30);
        entry(&window, "SIMULATION")->trigger();
        SimulateDialog* dialog = window.getSimulateDialog();
        QCOMPARE(dialog->getPlayer()->getRate(), 30);
        Simulator* simulator = dialog->getSimulator();
        QList<QImage> played;
        connect(dialog->getPlayer(), &SlotPlayer::showing, this,
                [&] { played << simulator->getPicture(); });
        dialog->getPlayButton()->click();
        // Stopped while the other slot shows, so that stopping must bring the current one back.
        QTRY_VERIFY(played.size() >= 3 && lit(played.last(), first));
        QVERIFY(lit(played[0], first) && !lit(played[0], second));
        QVERIFY(lit(played[1], second) && !lit(played[1], first));
        QCOMPARE(played[2], played[0]);
        dialog->getPlayButton()->click();
        QVERIFY(!dialog->getPlayer()->isPlaying());
        QVERIFY(lit(simulator->getPicture(), second) && !lit(simulator->getPicture(), first));
        dialog->close();

        window.getCurrentDesign()->tickAll(false);
        entry(&window, "SIMULATION")->trigger();
        QVERIFY(!dialog->getPlayButton()->isEnabled());
        dialog->close();
    }
};

RIMGLOW_TEST(SimulateCommandTest)
#include "tst_simulatecommand.moc"
