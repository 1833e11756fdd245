#include "initsvg.h"

#include <QList>
#include <QPointF>
#include <QString>

namespace {

// The segments a to g of a cell: a top, b top right, c bottom right, d bottom, e bottom left,
// f top left, g middle. Each is a hexagon around its centre line.
struct Segment {
    double x0, y0, x1, y1;
};

const Segment segments[7] = {
    {10, 6, 26, 6}, {30, 10, 30, 29}, {30, 35, 30, 54}, {10, 58, 26, 58},
    {6, 35, 6, 54}, {6, 10, 6, 29},   {10, 32, 26, 32},
};

// Which segments each digit lights, bit 0 being segment a.
const int litSegments[10] = {0x3f, 0x06, 0x5b, 0x4f, 0x66, 0x6d, 0x7d, 0x07, 0x7f, 0x6f};

QString hexagon(const Segment& s, double left)
{
    const double t = 3; // half the stroke width
    QList<QPointF> points;
    if (s.y0 == s.y1)
        points = {{s.x0 - t, s.y0}, {s.x0, s.y0 - t}, {s.x1, s.y0 - t},
                  {s.x1 + t, s.y0}, {s.x1, s.y0 + t}, {s.x0, s.y0 + t}};
    else
        points = {{s.x0, s.y0 - t}, {s.x0 + t, s.y0}, {s.x0 + t, s.y1},
                  {s.x0, s.y1 + t}, {s.x0 - t, s.y1}, {s.x0 - t, s.y0}};
    QString path = "M";
    for (const QPointF& p : points)
        path += QString(" %1,%2").arg(p.x() + left).arg(p.y());
    return path + " Z ";
}

} // namespace

QByteArray initSvg()
{
    QString svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"360\" height=\"64\" "
                  "viewBox=\"0 0 360 64\">\n";
    for (int digit = 0; digit < 10; ++digit) {
        QString path;
        for (int k = 0; k < 7; ++k)
            if (litSegments[digit] & (1 << k))
                path += hexagon(segments[k], 36.0 * digit);
        svg += QString("<path fill=\"white\" d=\"%1\"/>\n").arg(path.trimmed());
    }
    return (svg + "</svg>\n").toUtf8();
}
