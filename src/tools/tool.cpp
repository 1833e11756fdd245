#include "tool.h"

#include "imageconverter.h"
#include "model/wheelweb.h"

#include <QGraphicsPixmapItem>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QPainter>

Tool::Tool(WheelWeb* web, QGraphicsView* view, QBrush brush, int div)
    : view(view)
    , web(web)
    , brush(brush)
    , div(div)
{
    init();
}

Tool::Tool(Tool* other)
    : view(other->view)
    , web(other->web)
    , brush(other->brush)
    , div(other->div)
{
    init();
}

Tool::~Tool()
{
    // Without the view its scene, and the preview item with it, are gone already.
    if (scene()) {
        scene()->removeItem(previewItem);
        delete previewItem;
    }
}

void Tool::init()
{
    QPixmap empty(web->getOverlay().size());
    empty.fill(Qt::transparent);
    previewItem = scene()->addPixmap(empty);
    previewItem->setZValue(-1);
}

QGraphicsScene* Tool::scene() const
{
    return view ? view->scene() : nullptr;
}

void Tool::setTempPixmap(QPixmap pixmap)
{
    if (scene())
        previewItem->setPixmap(pixmap);
}

void Tool::paintRepeats(QPainter* painter, int position) const
{
    const QList<QPolygonF>& polygons = web->getPolygons();
    const int n = int(polygons.size());
    // Only 1 and divisors of the angular positions are offered; anything below 1 paints once.
    const int repeats = qMax(div, 1);
    const int step = n / repeats;
    for (int k = 0; k < repeats; ++k) {
        int at = position + k * step;
        if (at >= n)
            at -= n;
        if (at >= 0 && at < n)
            painter->drawPolygon(polygons[at], Qt::OddEvenFill);
    }
}

QPixmap Tool::paintOnInk(const QImage& ink, QPointF place) const
{
    QPixmap result(web->getOverlay().size());
    result.fill(Qt::transparent);
    QPainter painter(&result);
    painter.setBrush(brush);
    painter.setPen(Qt::NoPen);
    if (div > 0)
        for (int cell : ImageConverter::cellsOnInk(ink, place, web->getCenters()))
            paintRepeats(&painter, cell);
    painter.end();
    return result;
}
