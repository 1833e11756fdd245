// Figures of the design model: the layer icon blur, one drawing step into a design, and the
// memory the undo history holds per step.

#include "app/memorytuning.h"
#include "median.h"
#include "model/superfastblur.h"
#include "model/wheelpanel.h"
#include "model/wheelweb.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPainter>
#include <QRandomGenerator>

#include <cstdio>
#include <vector>

namespace {

long residentKilobytes()
{
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return 0;
}

// A pen stroke: a run of neighbouring cells of the 128 x 32 grid.
QPixmap stroke(const WheelWeb& web, int start)
{
    QPixmap picture(512, 512);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(127, 127, 255));
    for (int i = 0; i < 40; ++i)
        painter.drawPolygon(web.getPolygons()[(start + i * 32) % web.getPolygons().size()]);
    return picture;
}

} // namespace

int main(int argc, char** argv)
{
    // As the program does.
    tuneMemoryForPictures();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);

    const WheelWeb web(128, 32, 80, 16);
    // A drawn picture (opaque cells on transparent), and noise with every pixel half
    // transparent, the worst case for the conversions around the blur.
    QPixmap drawn(512, 512);
    drawn.fill(Qt::transparent);
    {
        QPainter painter(&drawn);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(127, 127, 255));
        for (int i = 0; i < web.getPolygons().size(); i += 3)
            painter.drawPolygon(web.getPolygons()[i]);
    }
    QImage noise(512, 512, QImage::Format_ARGB32);
    for (int y = 0; y < 512; ++y)
        for (int x = 0; x < 512 * 4; ++x)
            noise.scanLine(y)[x] = uchar(QRandomGenerator::global()->bounded(256));
    const QList<QPair<const char*, QPixmap>> pictures{{"a drawn", drawn},
                                                      {"a noise", QPixmap::fromImage(noise)}};
    std::vector<double> times;
    for (const auto& picture : pictures) {
        times.clear();
        for (int i = 0; i < 100; ++i) {
            QElapsedTimer clock;
            clock.start();
            superFastBlur(picture.second, 2);
            times.push_back(clock.nsecsElapsed() / 1e6);
        }
        std::printf("superFastBlur of %s 512 x 512 picture, radius 2: %.2f ms (median of 100; "
                    "target under 2 ms)\n",
                    picture.first, median(times));
    }

    QPixmap background(512, 512);
    background.fill(Qt::transparent);
    WheelPanel design(web.getOverlay(), background, 12, QString());
    std::vector<QPixmap> strokes;
    for (int i = 0; i < 16; ++i)
        strokes.push_back(stroke(web, i * 7));
    times.clear();
    const long before = residentKilobytes();
    for (int i = 0; i < 1000; ++i) {
        QElapsedTimer clock;
        clock.start();
        design.setLayer(strokes[size_t(i) % strokes.size()], QPainter::CompositionMode_SourceOver,
                        "DRAW");
        times.push_back(clock.nsecsElapsed() / 1e6);
    }
    const long after = residentKilobytes();
    std::printf("one drawing step (setLayer with undo push and layer icon): %.2f ms (median of "
                "1000; target under 5 ms)\n",
                median(times));
    std::printf("undo history after 1000 steps on one picture: %.0f bytes per step "
                "(resident memory grew by %ld MB)\n",
                (after - before) * 1024.0 / 1000, (after - before) / 1024);
    return 0;
}
