#include "wheelweb.h"

#include <QPainter>

#include <QtMath>

#include <cmath>

WheelWeb::WheelWeb(int lineCount, int ledCount, int outerSize, int innerSize)
    : overlay(512, 512, QImage::Format_ARGB32_Premultiplied)
    , cellMap(overlay.size(), QImage::Format_RGB32)
    , lineCount(lineCount)
    , ledCount(ledCount)
{
    radius = overlay.width() / 2;
    angleStep = 6.283185307179586 / lineCount;
    // A zero outer size or ring count has no ring depth; the rings then collapse onto the rim
    // instead of running off to infinity.
    const qint64 band = qint64(outerSize) - innerSize;
    radiusStep = (outerSize == 0 || ledCount < 1)
                     ? 0.0
                     : double(radius) * double(band) / outerSize / ledCount;

    for (int k = lineCount - 1; k >= 0; --k) {
        for (int j = 0; j < ledCount; ++j) {
            const QPolygonF outline = getPoints(k, j);
            polygons.append(outline);
            double x = 0, y = 0;
            for (const QPointF& corner : outline) {
                x += corner.x();
                y += corner.y();
            }
            centers.append(QPointF(x * 0.25, y * 0.25));
        }
    }
    overlay.fill(Qt::transparent);
    QPainter painter(&overlay);
    paintOverlay(&painter);
    painter.end();

    cellMap.fill(QColor(0xffffff));
    painter.begin(&cellMap);
    painter.setPen(Qt::NoPen);
    for (int cell = 0; cell < polygons.size(); ++cell) {
        painter.setBrush(QColor(QRgb(cell)));
        painter.drawPolygon(polygons[cell], Qt::OddEvenFill);
    }
    painter.end();
    cellCodes = reinterpret_cast<const QRgb*>(std::as_const(cellMap).constBits());
    mapSide = cellMap.width();
    cellCount = int(polygons.size());
}

QList<int> WheelWeb::cellsAlong(QPointF from, QPointF to) const
{
    // One look per pixel of the way, as the pen looks.
    QList<int> cells;
    const QPointF way = to - from;
    const int steps = qMax(1, qCeil(qMax(qAbs(way.x()), qAbs(way.y()))));
    for (int i = 0; i <= steps; ++i) {
        const int cell = cellAt((from + way * i / steps).toPoint());
        if (cell >= 0 && !cells.contains(cell))
            cells << cell;
    }
    return cells;
}

void WheelWeb::paintOverlay(QPainter* painter) const
{
    painter->save();
    // Width 0 is the cosmetic line: one device pixel whatever the scale.
    painter->setPen(QPen(QColor(0, 0, 0, 20), 0));
    painter->setBrush(Qt::NoBrush);
    painter->setRenderHint(QPainter::Antialiasing, false);
    for (const QPolygonF& outline : polygons)
        painter->drawPolygon(outline, Qt::OddEvenFill);
    painter->restore();
}

QPointF WheelWeb::getPoint(double angle, double ring) const
{
    const double theta = angle * angleStep;
    const double rho = double(radius) - ring * radiusStep;
    return QPointF(radius + std::cos(theta) * rho, radius + std::sin(theta) * rho);
}

QPolygonF WheelWeb::getPoints(double angle, double ring) const
{
    QPolygonF outline;
    outline << getPoint(angle, ring) << getPoint(angle, ring + 1) << getPoint(angle + 1, ring + 1)
            << getPoint(angle + 1, ring);
    return outline;
}
