// The simulation's frame period on the running dialog, against the 22 ms of its timer. Needs a
// display with OpenGL; bench/run provides one under Xvfb.

#include "median.h"
#include "product.h"
#include "simulation/simulatedialog.h"
#include "simulation/simulator.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QList>

#include <cstdio>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    if (QGuiApplication::platformName() != "xcb") {
        std::fprintf(stderr, "bench_simulation: needs an X display with OpenGL\n");
        return 1;
    }
    Product product({"-n", "DEMO", "-s", "128x32", "-o", "80", "-i", "16", "-v", "D12x12", "-c",
                     "red+redxgreenxblue"});

    SimulateDialog dialog(product.configuration.get());
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
        return 1;
    }
    double sum = 0, worst = 0;
    for (double p : periods) {
        sum += p;
        worst = std::max(worst, p);
    }
    std::printf("simulation 128x32, 3 bars: %zu frames, period median %.1f ms, mean %.1f ms, "
                "worst %.1f ms (timer 22 ms)\n",
                periods.size(), median(periods), sum / periods.size(), worst);
    return 0;
}
