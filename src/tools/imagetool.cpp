#include "imagetool.h"

#include "imageconverter.h"
#include "imagelabel.h"
#include "model/wheelweb.h"

#include <QGraphicsProxyWidget>
#include <QGraphicsScene>
#include <QPainter>

#include <limits>

ImageTool::ImageTool(Tool* other, QPixmap picture)
    : Tool(other)
    , panel(new ImageLabel(picture, brush, web->getOverlay().width()))
    , centers(&web->getCenters())
    , pictureSize(web->getOverlay().size())
{
    proxy = scene()->addWidget(panel, Qt::Dialog | Qt::WindowTitleHint);
    proxy->setZValue(std::numeric_limits<double>::max());
    const int side = web->getOverlay().width();
    const double x = (side - panel->width()) * 0.5;
    const double y = div > 1 ? 0 : int((side - panel->height()) * 0.5);
    proxy->setPos(x, y);
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
    const QImage image = picture.toImage();
    QPixmap result(pictureSize);
    result.fill(Qt::transparent);
    QPainter painter(&result);
    painter.setBrush(brush);
    painter.setPen(Qt::NoPen);
    if (div > 0)
        for (int cell : ImageConverter::cellsOnInk(image, proxy->pos(), *centers))
            paintRepeats(&painter, cell);
    painter.end();
    emit upDate(result);
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
