#include "svgicon.h"

#include <QPainter>
#include <QSvgRenderer>

QPixmap svgIcon(QSvgRenderer& picture, int width)
{
    const QSize size = picture.defaultSize();
    QPixmap pixmap(width, width * size.height() / size.width());
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    picture.render(&painter);
    return pixmap;
}
