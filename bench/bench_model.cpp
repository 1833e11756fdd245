// Figures of the design model: the layer icon blur, one drawing step into a design, and the
// memory the undo history holds per step, for pen strokes and for whole-picture imports, and
// the onion skin at the smallest and the largest grid.

#include "app/memorytuning.h"
#include "median.h"
#include "model/design.h"
#include "model/layerwidget.h"
#include "model/superfastblur.h"
#include "model/wheelpanel.h"
#include "model/wheelweb.h"
#include "residentmemory.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPainter>
#include <QRandomGenerator>

#include <cstdio>
#include <vector>

namespace {

// A pen stroke: a run of neighbouring cells of the 128 x 32 grid, in a colour of its own so that
// every stroke changes the picture.
QPixmap stroke(const WheelWeb& web, int start, const QColor& color)
{
    QPixmap picture(512, 512);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setPen(Qt::NoPen);
    painter.setBrush(color);
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
    // As the layer icon does, on images.
    const QList<QPair<const char*, QImage>> pictures{
        {"a drawn", drawn.toImage()},
        {"a noise", noise.convertToFormat(QImage::Format_ARGB32_Premultiplied)}};
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
                    "target at most 0.5 ms)\n",
                    picture.first, median(times));
    }

    QPixmap background(512, 512);
    background.fill(Qt::transparent);
    // The design with its views, which redraw the picture and its thumbnail on every step.
    Design design(12, web.getOverlay().size());
    const WheelPanel view(&design, web, background);
    const LayerWidget layers(&design);
    times.clear();
    long before = residentKilobytes();
    for (int i = 0; i < 1000; ++i) {
        const QImage pen =
            stroke(web, (i % 16) * 7, QColor::fromHsv(i * 37 % 360, 200, 255)).toImage();
        QElapsedTimer clock;
        clock.start();
        design.paint(pen, QPainter::CompositionMode_SourceOver, "DRAW");
        times.push_back(clock.nsecsElapsed() / 1e6);
    }
    long after = residentKilobytes();
    std::printf("one drawing step (undo push, view and layer icon): %.2f ms (median of "
                "1000; target at most 1.5 ms)\n",
                median(times));
    std::printf("undo history after 1000 pen-sized steps (40 cells each): %.0f bytes per step "
                "held (target at most 50 KB); resident memory grew by %.0f bytes per step\n",
                design.historyBytes() / 1000.0, (after - before) * 1024.0 / 1000);

    // Imports replace the whole picture with a new pattern of about half the cells lit.
    Design imports(12, web.getOverlay().size());
    QRandomGenerator random(1);
    times.clear();
    before = residentKilobytes();
    for (int i = 0; i < 100; ++i) {
        QImage picture(512, 512, QImage::Format_ARGB32_Premultiplied);
        picture.fill(Qt::transparent);
        QPainter painter(&picture);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(127, 127, 255));
        for (const QPolygonF& cell : web.getPolygons())
            if (random.bounded(2))
                painter.drawPolygon(cell);
        painter.end();
        QElapsedTimer clock;
        clock.start();
        imports.paint(picture, QPainter::CompositionMode_Source, "IMAGE");
        times.push_back(clock.nsecsElapsed() / 1e6);
    }
    after = residentKilobytes();
    std::printf("undo history after 100 full-picture imports: %.0f bytes per step held, "
                "%d steps undoable (budget %lld MB per design); resident memory grew by %.0f "
                "bytes per step; one import step %.2f ms (median of 100)\n",
                imports.historyBytes() / 100.0, imports.getUndoStack()->count(),
                Design::historyBudget / (1024 * 1024), (after - before) * 1024.0 / 100,
                median(times));
    // The onion skin: a slot change tints the two neighbours anew; a repaint draws the view.
    for (const QSize grid : {QSize(128, 32), QSize(1024, 256)}) {
        const WheelWeb large(grid.width(), grid.height(), 80, 16);
        Design sequence(12, large.getOverlay().size());
        for (int row = 0; row < 12; ++row) {
            sequence.chooseRow(row);
            sequence.paint(stroke(web, row * 5, Qt::blue).toImage(),
                           QPainter::CompositionMode_SourceOver, "DRAW");
        }
        WheelPanel onionView(&sequence, large, background);
        onionView.resize(800, 800);
        onionView.setOnionSkin(true, true);
        times.clear();
        for (int i = 0; i < 50; ++i) {
            QElapsedTimer clock;
            clock.start();
            sequence.chooseRow(1 + i % 10);
            times.push_back(clock.nsecsElapsed() / 1e6);
        }
        const double change = median(times);
        // Painted with and without the onion skin: the difference is the onion skin's part.
        QImage screen(800, 800, QImage::Format_ARGB32_Premultiplied);
        double painted[2];
        for (const bool onion : {false, true}) {
            onionView.setOnionSkin(onion, onion);
            times.clear();
            for (int i = 0; i < 20; ++i) {
                QElapsedTimer clock;
                clock.start();
                QPainter painter(&screen);
                onionView.render(&painter);
                painter.end();
                times.push_back(clock.nsecsElapsed() / 1e6);
            }
            painted[onion] = median(times);
        }
        std::printf("onion skin at %d x %d: a slot change %.2f ms (median of 50); the view "
                    "repainted with it %.2f ms, without it %.2f ms (median of 20; target under "
                    "16 ms)\n",
                    grid.width(), grid.height(), change, painted[true], painted[false]);
    }
    return 0;
}
