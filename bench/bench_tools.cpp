// Figures of the drawing tools: building a pen's picking widget, one pick-and-paint step with
// repeats, the image tool's two-state conversion, and at a small and the largest grid the line
// and sector previews per pointer move, a selection's move, its placing, and each transform of
// a whole picture.

#include "app/memorytuning.h"
#include "median.h"
#include "model/design.h"
#include "model/polarcells.h"
#include "model/wheelpanel.h"
#include "model/wheelweb.h"
#include "tools/celldrag.h"
#include "tools/imagelabel.h"
#include "tools/linetool.h"
#include "tools/penlabel.h"
#include "tools/pentool.h"
#include "tools/sectortool.h"
#include "tools/selecttool.h"
#include "tools/toolwidget.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QRandomGenerator>

#include <cmath>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

CellDrag* dragOf(QGraphicsScene* scene)
{
    for (QGraphicsItem* item : scene->items())
        if (auto* drag = dynamic_cast<CellDrag*>(item))
            if (drag->isVisible())
                return drag;
    return nullptr;
}

// A pointer moving round the wheel on a spiral, one place per run.
QPointF spiral(int i)
{
    const double angle = i * 0.37;
    const double radius = 60 + (i * 7) % 190;
    return QPointF(256 + radius * std::cos(angle), 256 + radius * std::sin(angle));
}

void shapeFigures(int lines, int leds)
{
    const WheelWeb web(lines, leds, 80, 16);
    auto* mutableWeb = const_cast<WheelWeb*>(&web);
    Design design(1, web.getOverlay().size());
    PolarCells noise{PolarGrid(lines, leds)};
    for (int cell = 0; cell < noise.grid().count(); ++cell)
        if (QRandomGenerator::global()->bounded(2))
            noise.setColour(cell, qRgb(0, 0, 255));
    QImage empty(512, 512, QImage::Format_ARGB32_Premultiplied);
    empty.fill(Qt::transparent);
    design.setPicture(0, noise.paintedOver(empty, web));
    WheelPanel view(&design, web, QPixmap::fromImage(web.getOverlay()));
    const QBrush brush(QColor(127, 127, 255));
    PenTool pen(mutableWeb, &view, brush, 1);
    const int runs = 50;
    std::printf("%d x %d grid (%d cells), median of %d:\n", lines, leds, lines * leds, runs);

    {
        LineTool line(&pen);
        CellDrag* drag = dragOf(view.scene());
        emit drag->pressed(QPointF(256, 10), web.cellAt(QPoint(256, 10)));
        const double ms = medianMs(runs, [&](int i) {
            emit drag->dragged(spiral(i), web.cellAt(spiral(i).toPoint()), {});
        });
        std::printf("  line preview per pointer move: %.2f ms\n", ms);
        line.hide();
    }
    {
        SectorTool::filled = true;
        SectorTool sector(&pen);
        CellDrag* drag = dragOf(view.scene());
        emit drag->pressed(QPointF(256, 10), web.cellAt(QPoint(256, 10)));
        const double ms = medianMs(runs, [&](int i) {
            emit drag->dragged(spiral(i), web.cellAt(spiral(i).toPoint()), {});
        });
        std::printf("  filled sector preview per pointer move: %.2f ms\n", ms);
        sector.hide();
    }
    {
        SelectTool select(&pen, &design);
        select.selectAll();
        const double move = medianMs(runs, [&](int) { select.moveBy(1, 0); });
        std::printf("  moving a whole-picture selection by a position: %.2f ms\n", move);
        std::vector<double> times;
        for (int i = 0; i < runs; ++i) {
            select.selectAll();
            select.moveBy(3, 0);
            QElapsedTimer clock;
            clock.start();
            select.place();
            times.push_back(clock.nsecsElapsed() / 1e6);
        }
        std::printf("  placing a moved whole-picture selection: %.2f ms\n", median(times));
        select.hide();
    }
    ToolWidget palette(mutableWeb, 1);
    palette.add(&view);
    palette.changeTab(&view);
    const PolarGrid grid(lines, leds);
    const QList<std::pair<const char*, std::function<int(int)>>> transforms = {
        {"rotate by 5 positions", [&](int cell) { return grid.rotated(cell, 5); }},
        {"mirror left and right", [&](int cell) { return grid.mirroredLeftRight(cell); }},
        {"mirror top and bottom", [&](int cell) { return grid.mirroredTopBottom(cell); }},
        {"swap inside and outside", [&](int cell) { return grid.swappedRings(cell); }},
    };
    for (const auto& [name, move] : transforms) {
        const double ms = medianMs(runs, [&](int) { palette.transform(move, "ROTATE"); });
        std::printf("  %s, whole picture: %.2f ms\n", name, ms);
    }
    palette.remove(&view);
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
    const double picking = medianMs(20, [&](int) { PenLabel label(web); });
    std::printf("picking widget of a pen for a 256 x 64 grid: %.2f ms (median of 20)\n", picking);

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

    shapeFigures(128, 32);
    shapeFigures(1024, 256);
    return 0;
}
