// Figures of the drawing tools: building a pen's picking image, one pick-and-paint step with
// repeats, and the image tool's two-state conversion.

#include "app/memorytuning.h"
#include "median.h"
#include "model/wheelweb.h"
#include "tools/imagelabel.h"
#include "tools/penlabel.h"
#include "tools/pentool.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QRandomGenerator>

#include <cstdio>
#include <functional>
#include <vector>

namespace {

double medianMs(int runs, const std::function<void(int)>& work)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer clock;
        clock.start();
        work(i);
        times.push_back(clock.nsecsElapsed() / 1e6);
    }
    return median(times);
}

} // namespace

int main(int argc, char** argv)
{
    // As the program does.
    tuneMemoryForPictures();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);

    const WheelWeb web(256, 64, 80, 16);
    const double picking =
        medianMs(20, [&](int) { PenLabel label(web); });
    std::printf("picking image of a pen for a 256 x 64 grid: %.2f ms (median of 20)\n", picking);

    QGraphicsScene scene;
    QGraphicsView view(&scene);
    PenTool pen(const_cast<WheelWeb*>(&web), &view, QBrush(QColor(127, 127, 255)), 8);
    const int cells = int(web.getPolygons().size());
    const double step = medianMs(1000, [&](int i) { pen.click((i * 97) % cells); });
    std::printf("one pick-and-paint step with division 8: %.3f ms (median of 1000)\n", step);

    QImage photo(512, 512, QImage::Format_ARGB32);
    for (int y = 0; y < 512; ++y)
        for (int x = 0; x < 512 * 4; ++x)
            photo.scanLine(y)[x] = uchar(QRandomGenerator::global()->bounded(256));
    const QPixmap picture = QPixmap::fromImage(photo);
    ImageLabel label(picture, QBrush(QColor(127, 127, 255)), 512);
    const double mono = medianMs(50, [&](int) { label.toMono(picture); });
    std::printf("two-state conversion of a 512 x 512 picture: %.2f ms (median of 50)\n", mono);
    return 0;
}
