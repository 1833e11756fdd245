#include "linetool.h"

#include "celldrag.h"
#include "model/polarcells.h"
#include "model/wheelweb.h"

#include <QGraphicsScene>
#include <QPainter>

LineTool::LineTool(Tool* other)
    : Tool(other)
    , area(new CellDrag(*web))
    , result(web->getOverlay().size())
{
    scene()->addItem(area);
    connect(area, &CellDrag::pressed, this, &LineTool::press);
    connect(area, &CellDrag::dragged, this, &LineTool::drag);
    connect(area, &CellDrag::released, this, &LineTool::release);
}

LineTool::~LineTool()
{
    if (scene())
        delete area;
}

void LineTool::press(QPointF at, int cell)
{
    start = at;
    startCell = cell;
    cells = web->cellsAlong(at, at);
    update();
}

void LineTool::drag(QPointF at, int cell, Qt::KeyboardModifiers modifiers)
{
    if (!(modifiers & Qt::ShiftModifier) || startCell < 0)
        cells = web->cellsAlong(start, at);
    else if (cell >= 0)
        cells = constrained(at, cell);
    update();
}

QList<int> LineTool::constrained(QPointF at, int cell) const
{
    const PolarGrid grid(web->getLineCount(), web->getLedCount());
    const int position = grid.positionOf(startCell);
    const int ring = grid.ringOf(startCell);
    // A spoke when the drag runs within 45 degrees of the radius through the start.
    const QPointF outwards =
        start - QPointF(web->getOverlay().width(), web->getOverlay().height()) / 2;
    const QPointF way = at - start;
    const double radial = QPointF::dotProduct(way, outwards);
    if (2 * radial * radial >=
        QPointF::dotProduct(way, way) * QPointF::dotProduct(outwards, outwards))
        return grid.sector(position, 0, ring, grid.ringOf(cell), true);
    return grid.sector(position, grid.shortWay(position, grid.positionOf(cell)), ring, ring, true);
}

void LineTool::update()
{
    result.fill(Qt::transparent);
    QPainter painter(&result);
    painter.setBrush(brush);
    painter.setPen(Qt::NoPen);
    const CellPainter painting = cellPainter();
    for (int cell : cells)
        painting.paintRepeats(&painter, cell);
    painter.end();
    setTempPixmap(result);
}

void LineTool::release()
{
    if (!cells.isEmpty())
        emit upDate(result);
    emit end();
}

void LineTool::hide()
{
    if (scene())
        area->hide();
    QPixmap nothing(1, 1);
    nothing.fill(Qt::transparent);
    setTempPixmap(nothing);
}
