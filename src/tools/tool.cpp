#include "tool.h"

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

CellPainter Tool::cellPainter() const
{
    return CellPainter(*web, brush, div);
}

QGraphicsView* Tool::getView() const
{
    return view;
}
