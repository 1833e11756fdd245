#include "wheelweb.h"

#include <QPainter>

#include <QtMath>

#include <cmath>
#include <thread>

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

    const qsizetype cells = qsizetype(qMax(lineCount, 0)) * qMax(ledCount, 0);
    polygons.reserve(cells);
    centers.reserve(cells);
    // The directions of the spokes, each worked out once rather than for every corner on it.
    QList<QPointF> spokes;
    for (int k = 0; k <= lineCount; ++k)
        spokes << QPointF(std::cos(k * angleStep), std::sin(k * angleStep));
    const auto corner = [&](int k, int ring) {
        const double rho = double(radius) - ring * radiusStep;
        return QPointF(radius + spokes[k].x() * rho, radius + spokes[k].y() * rho);
    };
    for (int k = lineCount - 1; k >= 0; --k) {
        for (int j = 0; j < ledCount; ++j) {
            // As getPoints has them.
            polygons.append(QPolygonF(
                {corner(k, j), corner(k, j + 1), corner(k + 1, j + 1), corner(k + 1, j)}));
            double x = 0, y = 0;
            for (const QPointF& corner : polygons.constLast()) {
                x += corner.x();
                y += corner.y();
            }
            centers.append(QPointF(x * 0.25, y * 0.25));
        }
    }
    // The two pictures of a large grid take long to draw; they are drawn side by side.
    std::thread drawOverlay([this] {
        overlay.fill(Qt::transparent);
        QPainter painter(&overlay);
        paintOverlay(&painter);
    });
    cellMap.fill(QColor(0xffffff));
    QPainter painter(&cellMap);
    painter.setPen(Qt::NoPen);
    for (int cell = 0; cell < polygons.size(); ++cell) {
        painter.setBrush(QColor(QRgb(cell)));
        painter.drawPolygon(polygons[cell], Qt::OddEvenFill);
    }
    painter.end();
    drawOverlay.join();
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

void WheelWeb::paintOverlay(QPainter* painter, const QRectF& area) const
{
    painter->save();
    // Width 0 is the cosmetic line: one device pixel whatever the scale.
    painter->setPen(QPen(QColor(0, 0, 0, 20), 0));
    painter->setBrush(Qt::NoBrush);
    painter->setRenderHint(QPainter::Antialiasing, false);
    if (area.isNull()) {
        for (const QPolygonF& outline : polygons)
            painter->drawPolygon(outline, Qt::OddEvenFill);
    } else {
        const QList<int> rings = ringsReaching(area);
        for (int position : positionsReaching(area))
            for (int ring : rings)
                painter->drawPolygon(polygons[(lineCount - 1 - position) * ledCount + ring],
                                     Qt::OddEvenFill);
    }
    painter->restore();
}

QList<int> WheelWeb::ringsReaching(const QRectF& area) const
{
    // The distances from the axle that the area spans.
    const QPointF axle(radius, radius);
    const double dx = qMax(0.0, qMax(area.left() - axle.x(), axle.x() - area.right()));
    const double dy = qMax(0.0, qMax(area.top() - axle.y(), axle.y() - area.bottom()));
    const double nearest = std::hypot(dx, dy);
    double farthest = 0;
    for (const QPointF& corner :
         {area.topLeft(), area.topRight(), area.bottomLeft(), area.bottomRight()})
        farthest = qMax(farthest, std::hypot(corner.x() - axle.x(), corner.y() - axle.y()));
    // A cell's straight edges sag inside its rings by up to the cosine of half a position.
    const double sag = lineCount > 2 ? std::cos(angleStep / 2) : 0;
    QList<int> rings;
    for (int ring = 0; ring < ledCount; ++ring) {
        const double outer = radius - ring * radiusStep;
        const double inner = radius - (ring + 1) * radiusStep;
        const double low = qMin(outer, inner) > 0 ? qMin(outer, inner) * sag : 0;
        if (qMax(qAbs(outer), qAbs(inner)) >= nearest && low <= farthest)
            rings << ring;
    }
    return rings;
}

QList<int> WheelWeb::positionsReaching(const QRectF& area) const
{
    QList<int> all;
    const QPointF axle(radius, radius);
    // Seen from the axle, an area beside it spans less than half a turn; rings that run past
    // the axle reach round to the other side.
    if (lineCount <= 2 || area.contains(axle) || radius - ledCount * radiusStep < 0) {
        for (int position = 0; position < lineCount; ++position)
            all << position;
        return all;
    }
    const QPointF middle = area.center() - axle;
    const double towards = std::atan2(middle.y(), middle.x());
    double from = 0, to = 0;
    for (const QPointF& corner :
         {area.topLeft(), area.topRight(), area.bottomLeft(), area.bottomRight()}) {
        double turn = std::atan2(corner.y() - axle.y(), corner.x() - axle.x()) - towards;
        turn = std::remainder(turn, 2 * M_PI);
        from = qMin(from, turn);
        to = qMax(to, turn);
    }
    const int first = qFloor((towards + from) / angleStep);
    const int last = qFloor((towards + to) / angleStep);
    for (int position = first; position <= last && all.size() < lineCount; ++position)
        all << (position % lineCount + lineCount) % lineCount;
    return all;
}

QPointF WheelWeb::getPoint(double angle, double ring) const
{
    const double theta = angle * angleStep;
    const double rho = double(radius) - ring * radiusStep;
    return QPointF(radius + std::cos(theta) * rho, radius + std::sin(theta) * rho);
}

QPolygonF WheelWeb::getPoints(double angle, double ring) const
{
    return QPolygonF({getPoint(angle, ring), getPoint(angle, ring + 1),
                      getPoint(angle + 1, ring + 1), getPoint(angle + 1, ring)});
}
