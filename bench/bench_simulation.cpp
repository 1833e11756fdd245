// The simulate command at growing grids, with twelve ticked slots and the current one (sampling,
// the LED picture, the textures of the first frame), against 16 ms, and the simulation's frame
// period on the running dialog against the 22 ms of its timer. Needs a display with OpenGL;
// bench/run provides one under Xvfb.

#include "app/mainwindow.h"
#include "config/wheelpackage.h"
#include "median.h"
#include "model/design.h"
#include "model/wheelweb.h"
#include "product.h"
#include "resources/resource.h"
#include "simulation/ledpicture.h"
#include "simulation/simulatedialog.h"
#include "simulation/simulator.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QList>
#include <QMenuBar>
#include <QRandomGenerator>

#include <cstdio>

namespace {

Product product(const QString& size)
{
    return Product({"-n", "DEMO", "-s", size, "-o", "80", "-i", "16", "-v", "D12x12", "-c",
                    "red+blue+redxblue+redxgreenxblue"});
}

// Ink in blocks of 3 x 3 pixels, about half of them: as many lit cells as unlit ones.
QImage noise(quint32 seed)
{
    QImage picture(512, 512, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    QRandomGenerator random(seed);
    for (int y = 0; y < 512; y += 3)
        for (int x = 0; x < 512; x += 3)
            if (random.bounded(2))
                for (int dy = 0; dy < 3 && y + dy < 512; ++dy)
                    for (int dx = 0; dx < 3 && x + dx < 512; ++dx)
                        picture.setPixel(x + dx, y + dy, 0xff000000);
    return picture;
}

// The simulate command through the window, as the menu entry runs it, then the wait for the
// first frame, which builds the textures; repeated up to seven times within about ten seconds.
void timeCommand(const QString& size)
{
    Product wheel = product(size);
    MainWindow window(wheel.configuration.get());
    Design* design = window.getCurrentDesign();
    for (int row = 11; row >= 0; --row) {
        design->chooseRow(row);
        design->paint(noise(row), QPainter::CompositionMode_SourceOver, "DRAW");
    }
    QAction* simulate = nullptr;
    for (QAction* title : window.menuBar()->actions())
        if (title->menu())
            for (QAction* action : title->menu()->actions())
                if (action->text() == Resource::getText("SIMULATION"))
                    simulate = action;
    SimulateDialog* dialog = window.getSimulateDialog();
    bool swapped = false;
    QObject::connect(dialog->getSimulator(), &QOpenGLWidget::frameSwapped, [&] { swapped = true; });

    std::vector<double> command, textures;
    QElapsedTimer spent;
    spent.start();
    // The first run makes the OpenGL context and is left out when there is time for more.
    for (int run = 0; run < 8 && (run < 2 || spent.elapsed() < 10000); ++run) {
        QElapsedTimer clock;
        clock.start();
        simulate->trigger();
        const double triggered = clock.nsecsElapsed() / 1e6;
        swapped = false;
        while (!swapped)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        // The textures are made at the next frame: a frame with them less one without.
        Simulator* simulator = dialog->getSimulator();
        clock.restart();
        simulator->show(simulator->getPicture());
        simulator->grabFramebuffer();
        const double withTextures = clock.nsecsElapsed() / 1e6;
        clock.restart();
        simulator->grabFramebuffer();
        const double without = clock.nsecsElapsed() / 1e6;
        dialog->close();
        QCoreApplication::processEvents();
        if (run > 0 || spent.elapsed() > 10000) {
            command.push_back(triggered);
            textures.push_back(withTextures - without);
        }
    }
    std::printf("simulate %-9s command %8.1f ms + textures %5.1f ms = %8.1f ms (target 16 ms, "
                "%zu runs)\n",
                qPrintable(size), median(command), median(textures),
                median(command) + median(textures), command.size());
    std::fflush(stdout);
}

// The command's parts on their own: sampling the current picture, its LED picture and the texels
// of every light; a played slot costs the same again when it is shown.
void timeParts(const QString& size)
{
    Product wheel = product(size);
    const ArgParser& configuration = *wheel.configuration;
    const int lines = configuration.lines, leds = configuration.leds;
    const WheelWeb web(lines, leds, 80, 16);
    WheelPackage package;
    for (const QList<QColor>& colors : configuration.getpackageList())
        package.add(colors);
    const QImage picture = noise(0);
    const LedPicture ledPicture;

    std::vector<double> sampling, building, colouring;
    for (int run = 0; run < 7; ++run) {
        QElapsedTimer clock;
        clock.start();
        const QList<bool> lit = SimulateDialog::litCells(picture, web.getCenters());
        sampling.push_back(clock.nsecsElapsed() / 1e6);
        clock.restart();
        const QImage built = ledPicture.build(lit.data(), lines, leds, Simulator::textureSize);
        building.push_back(clock.nsecsElapsed() / 1e6);
        clock.restart();
        const QImage stretched =
            built.scaled(Simulator::textureSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                .convertToFormat(QImage::Format_ARGB32_Premultiplied);
        for (const QImage& light : *package.getLights())
            Simulator::texels(stretched, light);
        colouring.push_back(clock.nsecsElapsed() / 1e6);
    }
    std::printf("  parts %-9s sampling %5.1f ms, LED picture %5.1f ms, texels of %lld lights "
                "%5.1f ms\n",
                qPrintable(size), median(sampling), median(building),
                qint64(package.getLights()->size()), median(colouring));
    std::fflush(stdout);
}

void timeFrames()
{
    Product wheel = product("128x32");
    SimulateDialog dialog(wheel.configuration.get());
    QList<bool> states(128 * 32);
    for (int k = 0; k < states.size(); ++k)
        states[k] = k % 3 != 0;
    dialog.toShow(states.data(), 128, 32);

    // Frames as the window system receives them, after a second of warming up.
    QElapsedTimer clock;
    std::vector<double> periods;
    qint64 last = -1;
    QObject::connect(dialog.getSimulator(), &QOpenGLWidget::frameSwapped, [&] {
        const qint64 now = clock.nsecsElapsed();
        if (last >= 0 && now > 1000000000)
            periods.push_back((now - last) / 1e6);
        last = now;
    });
    clock.start();
    while (clock.elapsed() < 6000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    dialog.close();

    if (periods.empty()) {
        std::fprintf(stderr, "bench_simulation: no frame was drawn\n");
        return;
    }
    double sum = 0, worst = 0;
    for (double p : periods) {
        sum += p;
        worst = std::max(worst, p);
    }
    std::printf("simulation 128x32, 3 bars: %zu frames, period median %.1f ms, mean %.1f ms, "
                "worst %.1f ms (timer 22 ms)\n",
                periods.size(), median(periods), sum / periods.size(), worst);
}

} // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    if (QGuiApplication::platformName() != "xcb") {
        std::fprintf(stderr, "bench_simulation: needs an X display with OpenGL\n");
        return 1;
    }
    for (const char* size : {"128x32", "512x128", "1024x256"}) {
        timeCommand(size);
        timeParts(size);
    }
    timeFrames();
    return 0;
}
