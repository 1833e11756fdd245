#include "celldrag.h"

#include "model/wheelweb.h"

#include <QGraphicsSceneMouseEvent>

CellDrag::CellDrag(const WheelWeb& web)
    : web(web)
{
    setAcceptedMouseButtons(Qt::LeftButton);
    // Over the pictures and the grid, under the cell cursor and the tools' panels.
    setZValue(1);
}

QRectF CellDrag::boundingRect() const
{
    return QRectF(QPointF(0, 0), web.getOverlay().size());
}

void CellDrag::mousePressEvent(QGraphicsSceneMouseEvent* event)
{
    emit pressed(event->pos(), web.cellAt(event->pos().toPoint()));
}

void CellDrag::mouseMoveEvent(QGraphicsSceneMouseEvent* event)
{
    emit dragged(event->pos(), web.cellAt(event->pos().toPoint()), event->modifiers());
}

void CellDrag::mouseReleaseEvent(QGraphicsSceneMouseEvent*)
{
    emit released();
}

void SectorDrag::start(int cell)
{
    first = last = cell;
    travel = 0;
}

void SectorDrag::follow(int cell)
{
    if (cell < 0)
        return;
    // Step by step, so that a drag once around adds up to a whole turn.
    travel += grid.shortWay(grid.positionOf(last), grid.positionOf(cell));
    last = cell;
}

QList<int> SectorDrag::cells(bool filled) const
{
    return grid.sector(from(), travel, startRing(), endRing(), filled);
}
