#include "griditem.h"

#include "wheelweb.h"

#include <QPainter>

GridItem::GridItem(const WheelWeb& web)
    : web(web)
{
}

QRectF GridItem::boundingRect() const
{
    return QRectF(QPointF(0, 0), web.getOverlay().size());
}

void GridItem::paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*)
{
    // Rings beyond the picture's edge are cut off there, as on the picture.
    painter->setClipRect(boundingRect(), Qt::IntersectClip);
    web.paintOverlay(painter);
}
