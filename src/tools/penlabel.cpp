#include "penlabel.h"

#include <QMouseEvent>
#include <QPainter>
#include <QtMath>

PenLabel::PenLabel(QSize size, QList<QPolygonF> const* polygons)
    : picking(size, QImage::Format_ARGB32)
    , noneCode(unsigned(polygons->size()))
    , lastCode(noneCode)
{
    picking.fill(toColor(noneCode).rgb());
    QPainter painter(&picking);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.setPen(Qt::NoPen);
    for (int i = 0; i < polygons->size(); ++i) {
        painter.setBrush(QBrush(toColor(unsigned(i)), Qt::SolidPattern));
        painter.drawPolygon(polygons->at(i), Qt::OddEvenFill);
    }
    painter.end();
    setFixedSize(size);
    // Catches the mouse, shows nothing: it paints nothing, and no background either. It has
    // no parent, as a widget in a graphics scene must, which makes it a window to Qt, but
    // never one of its own on the screen: the scene draws it.
    setAttribute(Qt::WA_NoSystemBackground);
}

QColor PenLabel::toColor(unsigned int code)
{
    return QColor((code >> 16) & 255, (code >> 8) & 255, code & 255, 255);
}

void PenLabel::updateItem(QPoint p)
{
    if (!contentsRect().contains(p) || !picking.valid(p))
        return;
    const unsigned int code = picking.pixel(p) & 0xFFFFFF;
    if (code == lastCode || code == noneCode)
        return;
    lastCode = code;
    emit click(int(code));
}

void PenLabel::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    pressed = true;
    lastPoint = event->position();
    updateItem(lastPoint.toPoint());
}

void PenLabel::mouseMoveEvent(QMouseEvent* event)
{
    if (!pressed)
        return;
    // One look per pixel along the segment: cells are wider than that, so none is skipped.
    const QPointF to = event->position();
    const QPointF way = to - lastPoint;
    const int steps = qMax(1, qCeil(qMax(qAbs(way.x()), qAbs(way.y()))));
    for (int i = 1; i <= steps; ++i)
        updateItem((lastPoint + way * i / steps).toPoint());
    lastPoint = to;
}

void PenLabel::mouseReleaseEvent(QMouseEvent*)
{
    pressed = false;
    if (lastCode != noneCode)
        emit toEnd();
}

void PenLabel::moveEvent(QMoveEvent* event)
{
    QWidget::moveEvent(event);
    // Pinned to the picture's origin, so that widget positions are picture positions.
    if (pos() != QPoint(0, 0))
        move(0, 0);
}
