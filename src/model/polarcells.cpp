#include "polarcells.h"

#include "wheelweb.h"

#include <vector>

PolarGrid::PolarGrid(int positions, int rings)
    : positionCount(qMax(positions, 0))
    , ringCount(qMax(rings, 0))
{
}

int PolarGrid::cell(int position, int ring) const
{
    if (ring < 0 || ring >= ringCount || positionCount == 0)
        return -1;
    position %= positionCount;
    if (position < 0)
        position += positionCount;
    return (positionCount - 1 - position) * ringCount + ring;
}

int PolarGrid::shortWay(int from, int to) const
{
    if (positionCount == 0)
        return 0;
    int way = (to - from) % positionCount;
    if (way < 0)
        way += positionCount;
    return 2 * way > positionCount ? way - positionCount : way;
}

int PolarGrid::rotated(int cell, int by) const
{
    return this->cell(positionOf(cell) + by, ringOf(cell));
}

int PolarGrid::shifted(int cell, int by) const
{
    return this->cell(positionOf(cell), ringOf(cell) + by);
}

int PolarGrid::mirroredLeftRight(int cell) const
{
    // Position k spans the angles k to k + 1 (in positions); the mirror takes it to A/2 - k - 1
    // to A/2 - k, a cell exactly when A is even and half way between two cells otherwise.
    return this->cell((positionCount - 1) / 2 - positionOf(cell), ringOf(cell));
}

int PolarGrid::mirroredTopBottom(int cell) const
{
    return this->cell(positionCount - 1 - positionOf(cell), ringOf(cell));
}

int PolarGrid::swappedRings(int cell) const
{
    return this->cell(positionOf(cell), ringCount - 1 - ringOf(cell));
}

QList<int> PolarGrid::sector(int from, int span, int ring1, int ring2, bool filled) const
{
    QList<int> cells;
    const int outer = qBound(0, qMin(ring1, ring2), ringCount - 1);
    const int inner = qBound(0, qMax(ring1, ring2), ringCount - 1);
    const bool whole = qAbs(span) + 1 >= positionCount;
    const int count = whole ? positionCount : qAbs(span) + 1;
    const int step = span < 0 ? -1 : 1;
    for (int i = 0; i < count; ++i) {
        const bool edge = !whole && (i == 0 || i == count - 1);
        for (int ring = outer; ring <= inner; ++ring)
            if (filled || edge || ring == outer || ring == inner)
                cells << cell(from + i * step, ring);
    }
    return cells;
}

PolarCells::PolarCells(const PolarGrid& grid)
    : cellGrid(grid)
    , colours(grid.count(), 0)
{
}

PolarCells::PolarCells(const QImage& picture, const WheelWeb& web)
    : PolarCells(PolarGrid(web.getLineCount(), web.getLedCount()))
{
    const QImage pixels = picture.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QList<QPointF>& centres = web.getCenters();
    const uchar* bits = pixels.constBits();
    const qsizetype line = pixels.bytesPerLine();
    const int width = pixels.width();
    const int height = pixels.height();
    for (int cell = 0; cell < colours.size(); ++cell) {
        const int x = int(centres[cell].x());
        const int y = int(centres[cell].y());
        if (x >= 0 && y >= 0 && x < width && y < height)
            colours[cell] = reinterpret_cast<const QRgb*>(bits + y * line)[x];
    }
}

PolarCells PolarCells::moved(const QList<int>& cells, const std::function<int(int)>& move) const
{
    PolarCells result = *this;
    for (int cell : cells)
        result.colours[cell] = 0;
    for (int cell : cells) {
        const int to = move(cell);
        if (to >= 0 && qAlpha(colours[cell]) != 0)
            result.colours[to] = colours[cell];
    }
    return result;
}

QImage PolarCells::paintedOver(const QImage& picture, const WheelWeb& web) const
{
    return paintedOver(picture, web, PolarCells(picture, web));
}

QImage PolarCells::paintedOver(const QImage& picture, const WheelWeb& web,
                               const PolarCells& before) const
{
    QImage result = picture.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    std::vector<char> changed(colours.size());
    bool any = false;
    for (int cell = 0; cell < colours.size(); ++cell)
        any |= changed[cell] = colours[cell] != before.colours[cell];
    if (!any)
        return result;
    const int width = result.width();
    for (int y = 0; y < result.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const int cell = web.cellAt(QPoint(x, y));
            if (cell >= 0 && changed[cell])
                line[x] = colours[cell];
        }
    }
    return result;
}
