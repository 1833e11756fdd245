#include "imagetool.h"

#include "imagelabel.h"
#include "model/wheelweb.h"

#include <QGraphicsProxyWidget>
#include <QGraphicsScene>

#include <limits>

ImageTool::ImageTool(Tool* other, QPixmap picture)
    : Tool(other)
    , panel(new ImageLabel(picture, brush, web->getOverlay().width()))
{
    proxy = scene()->addWidget(panel, Qt::Dialog | Qt::WindowTitleHint);
    proxy->setZValue(std::numeric_limits<double>::max());
    proxy->setPos(CellPainter::openingPlace(panel->size(), web->getOverlay().width(), div));
    connect(panel, &ImageLabel::toDraw, this, &ImageTool::toDraw);
    connect(panel, &ImageLabel::toEnd, this, &ImageTool::toEnd);
    connect(panel, &ImageLabel::toMax, this, &ImageTool::toMax);
}

ImageLabel* ImageTool::getPanel() const
{
    return panel;
}

ImageTool::~ImageTool()
{
    if (scene())
        delete proxy;
}

void ImageTool::toDraw(QPixmap picture)
{
    emit upDate(QPixmap::fromImage(cellPainter().paintOnInk(picture.toImage(), proxy->pos())));
}

void ImageTool::toEnd()
{
    emit end();
}

void ImageTool::toMax()
{
    proxy->setPos(0, 0);
}

void ImageTool::update()
{
    if (panel)
        panel->setBrush(brush);
}

void ImageTool::hide()
{
    if (scene())
        proxy->hide();
}
