#include "cellpainter.h"

#include "imageconverter.h"
#include "model/wheelweb.h"

#include <QPainter>

#include <vector>

CellPainter::CellPainter(const WheelWeb& web, QBrush brush, int div)
    : web(web)
    , brush(brush)
    , div(div)
{
}

void CellPainter::paintRepeats(QPainter* painter, int position) const
{
    const QList<QPolygonF>& polygons = web.getPolygons();
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

QImage CellPainter::paintCells(const QList<int>& cells) const
{
    const int n = int(web.getPolygons().size());
    const int repeats = qMax(div, 1);
    std::vector<char> marked(n);
    for (int cell : cells)
        for (int k = 0; k < repeats; ++k)
            marked[(cell + k * (n / repeats)) % n] = true;
    QImage result(web.getOverlay().size(), QImage::Format_ARGB32_Premultiplied);
    result.fill(Qt::transparent);
    const QRgb ink = brush.color().rgba();
    const QRgb premultiplied = qPremultiply(ink);
    const int width = result.width();
    for (int y = 0; y < result.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const int cell = web.cellAt(QPoint(x, y));
            if (cell >= 0 && marked[cell])
                line[x] = premultiplied;
        }
    }
    return result;
}

QImage CellPainter::paintOnInk(const QImage& ink, QPointF place) const
{
    if (div > 0)
        return paintCells(ImageConverter::cellsOnInk(ink, place, web.getCenters()));
    QImage result(web.getOverlay().size(), QImage::Format_ARGB32_Premultiplied);
    result.fill(Qt::transparent);
    return result;
}

QImage CellPainter::paintPicture(const QImage& fitted) const
{
    return paintOnInk(ImageConverter().toInk(fitted),
                      openingPlace(fitted.size(), web.getOverlay().width(), div));
}

QPointF CellPainter::openingPlace(QSize size, int side, int div)
{
    return QPointF((side - size.width()) * 0.5, div > 1 ? 0 : int((side - size.height()) * 0.5));
}
