// The splash animation the program plays before it shows its window; the window's own start-up
// is timed by bench_scaling at each grid. Needs a display; bench/run provides one under Xvfb.

#include "app/splashscreen.h"
#include "resources/resource.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <cstdio>

namespace {

void timeSplash()
{
    SplashScreen splash(Resource::directory() + "splash.png");
    splash.show();
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, &splash, &SplashScreen::next);
    int steps = 0;
    QObject::connect(&timer, &QTimer::timeout, [&] { ++steps; });
    bool ended = false;
    QObject::connect(&splash, &SplashScreen::end, [&] { ended = true; });
    QElapsedTimer clock;
    clock.start();
    timer.start(20);
    while (!ended && clock.elapsed() < 30000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    if (!ended) {
        std::fprintf(stderr, "bench_startup: the splash did not end\n");
        return;
    }
    std::printf("splash animation: %d steps of 20 ms in %.0f ms\n", steps,
                clock.nsecsElapsed() / 1e6);
}

} // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    timeSplash();
    return 0;
}
