// Start-up time: from starting the program's process until its main window is constructed and
// painted for the first time, for the example product. The splash animation, which the program
// plays before it shows the window, is timed on its own. Needs a display; bench/run provides one
// under Xvfb.

#include "app/mainwindow.h"
#include "app/memorytuning.h"
#include "app/splashscreen.h"
#include "median.h"
#include "product.h"
#include "resources/resource.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTimer>

#include <cstdio>

namespace {

// Notes the first paint of anything in one window.
class FirstPaint : public QObject {
public:
    explicit FirstPaint(QWidget* window)
        : window(window)
    {
    }
    bool done = false;

protected:
    bool eventFilter(QObject* object, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && object->isWidgetType() &&
            static_cast<QWidget*>(object)->window() == window)
            done = true;
        return false;
    }

private:
    QWidget* window;
};

// The program's own start without the splash: prints the milliseconds since main() began at
// which the window was constructed and first painted.
int openWindow(int argc, char** argv)
{
    QElapsedTimer clock;
    clock.start();
    tuneMemoryForPictures();
    QApplication application(argc, argv);
    Product product({"-n", "DEMO", "-s", "128x32", "-o", "80", "-i", "16", "-v", "D12x12+D08x8",
                     "-c", "red+blue+redxblue+redxgreenxblue"});
    MainWindow window(product.configuration.get());
    const double constructed = clock.nsecsElapsed() / 1e6;
    FirstPaint paint(&window);
    application.installEventFilter(&paint);
    window.show();
    while (!paint.done)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    std::printf("%.1f %.1f\n", constructed, clock.nsecsElapsed() / 1e6);
    std::fflush(stdout);
    return 0;
}

void timeWindow(const QString& self)
{
    std::vector<double> total, constructed, painted;
    for (int run = 0; run < 7; ++run) {
        QProcess process;
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        QElapsedTimer clock;
        clock.start();
        process.start(self, {"--window"});
        if (!process.waitForReadyRead(30000)) {
            std::fprintf(stderr, "bench_startup: the window did not open\n");
            return;
        }
        total.push_back(clock.nsecsElapsed() / 1e6);
        const QList<QByteArray> figures = process.readAllStandardOutput().trimmed().split(' ');
        process.waitForFinished();
        if (figures.size() != 2)
            continue;
        constructed.push_back(figures[0].toDouble());
        painted.push_back(figures[1].toDouble());
    }
    if (constructed.empty())
        return;
    std::printf("start-up of a 128x32 product (median of 7): main window painted %.0f ms after "
                "process start (inside main(): constructed at %.0f ms, painted at %.0f ms)\n",
                median(total), median(constructed), median(painted));
}

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
    if (argc > 1 && qstrcmp(argv[1], "--window") == 0)
        return openWindow(argc, argv);
    QApplication application(argc, argv);
    timeWindow(QCoreApplication::applicationFilePath());
    timeSplash();
    return 0;
}
