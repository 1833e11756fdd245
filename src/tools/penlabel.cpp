#include "penlabel.h"

#include "model/wheelweb.h"

#include <QMouseEvent>

PenLabel::PenLabel(const WheelWeb& web)
    : web(web)
{
    setFixedSize(web.getOverlay().size());
    // Catches the mouse, shows nothing: it paints nothing, and no background either. It has
    // no parent, as a widget in a graphics scene must, which makes it a window to Qt, but
    // never one of its own on the screen: the scene draws it.
    setAttribute(Qt::WA_NoSystemBackground);
}

void PenLabel::enter(int cell)
{
    if (cell == lastCell || cell < 0)
        return;
    lastCell = cell;
    emit click(cell);
}

void PenLabel::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    pressed = true;
    lastPoint = event->position();
    enter(web.cellAt(lastPoint.toPoint()));
}

void PenLabel::mouseMoveEvent(QMouseEvent* event)
{
    if (!pressed)
        return;
    const QPointF to = event->position();
    for (int cell : web.cellsAlong(lastPoint, to))
        enter(cell);
    lastPoint = to;
}

void PenLabel::mouseReleaseEvent(QMouseEvent*)
{
    pressed = false;
    if (lastCell >= 0)
        emit toEnd();
}

void PenLabel::moveEvent(QMoveEvent* event)
{
    QWidget::moveEvent(event);
    // Pinned to the picture's origin, so that widget positions are picture positions.
    if (pos() != QPoint(0, 0))
        move(0, 0);
}
