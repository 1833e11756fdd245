#include "griditem.h"

#include "wheelweb.h"

#include <QPainter>
#include <QStyleOptionGraphicsItem>

#include <QtMath>

GridItem::GridItem(const WheelWeb& web)
    : web(web)
    // Enough for the tiles of a full 4K screen.
    , tiles(160)
{
    setFlag(ItemUsesExtendedStyleOption);
}

QRectF GridItem::boundingRect() const
{
    return QRectF(QPointF(0, 0), web.getOverlay().size());
}

void GridItem::paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget*)
{
    // The view only scales and moves its scene.
    const QTransform device = painter->deviceTransform();
    const QPointF whole(std::floor(device.dx()), std::floor(device.dy()));
    const QTransform local(device.m11(), 0, 0, device.m22(), device.dx() - whole.x(),
                           device.dy() - whole.y());
    if (local != drawnFor) {
        tiles.clear();
        drawnFor = local;
    }
    const QRectF exposed = local.mapRect(option->exposedRect & boundingRect());
    if (exposed.isEmpty())
        return;
    painter->save();
    // Tile pixels are device pixels, placed at the whole pixel the grid's corner falls in.
    painter->setTransform(QTransform::fromTranslate(whole.x(), whole.y()) * device.inverted() *
                          painter->transform());
    const int left = qFloor(exposed.left() / tileSide);
    const int right = qFloor(exposed.right() / tileSide);
    const int top = qFloor(exposed.top() / tileSide);
    const int bottom = qFloor(exposed.bottom() / tileSide);
    for (int row = top; row <= bottom; ++row)
        for (int column = left; column <= right; ++column)
            painter->drawImage(QPointF(column * tileSide, row * tileSide), tile(column, row));
    painter->restore();
}

const QImage& GridItem::tile(int column, int row)
{
    const quint64 key = quint64(quint32(row)) << 32 | quint32(column);
    if (const QImage* cached = tiles.object(key))
        return *cached;
    // At 1:1 on whole pixels the overlay picture is the tiles, drawn already.
    if (drawnFor.isIdentity()) {
        tiles.insert(key, new QImage(web.getOverlay().copy(column * tileSide, row * tileSide,
                                                           tileSide, tileSide)));
        return *tiles.object(key);
    }
    auto* image = new QImage(tileSide, tileSide, QImage::Format_ARGB32_Premultiplied);
    image->fill(Qt::transparent);
    QPainter painter(image);
    painter.translate(-column * tileSide, -row * tileSide);
    painter.setTransform(drawnFor, true);
    // Rings beyond the picture's edge are cut off there, as on the picture.
    painter.setClipRect(boundingRect());
    // A line on the tile's edge may be drawn a device pixel away from it.
    const QRectF area(column * tileSide - 2, row * tileSide - 2, tileSide + 4, tileSide + 4);
    web.paintOverlay(&painter, drawnFor.inverted().mapRect(area));
    painter.end();
    tiles.insert(key, image);
    return *image;
}
