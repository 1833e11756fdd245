#include "imageconverter.h"

#include <QVarLengthArray>

namespace {

int greyOf(QRgb p)
{
    return (11 * qRed(p) + 16 * qGreen(p) + 5 * qBlue(p)) / 32;
}

} // namespace

QImage ImageConverter::toInk(const QImage& picture) const
{
    const QImage source = picture.convertToFormat(QImage::Format_ARGB32);
    const int w = source.width();
    QImage result(source.size(), QImage::Format_ARGB32);
    // Floyd-Steinberg: the error of this row and of the next, with a cell of margin each side.
    QVarLengthArray<int> error(w + 2, 0), next(w + 2, 0);
    for (int y = 0; y < source.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        auto* out = reinterpret_cast<QRgb*>(result.scanLine(y));
        std::fill(next.begin(), next.end(), 0);
        for (int x = 0; x < w; ++x) {
            const QRgb p = in[x];
            if (qAlpha(p) <= 128) {
                out[x] = 0;
                continue;
            }
            const int grey = greyOf(p);
            const int level = dither ? spread(grey) + error[x + 1] : grey;
            const bool light = level >= (dither ? 128 : threshold);
            out[x] = light != invert ? 0 : 0xFF000000;
            if (dither) {
                const int rest = level - (light ? 255 : 0);
                error[x + 2] += rest * 7 / 16;
                next[x] += rest * 3 / 16;
                next[x + 1] += rest * 5 / 16;
                next[x + 2] += rest / 16;
            }
        }
        std::swap(error, next);
    }
    return result;
}

int ImageConverter::spread(int grey) const
{
    if (grey < threshold)
        return grey * 128 / threshold;
    return threshold < 255 ? 128 + (grey - threshold) * 127 / (255 - threshold) : 255;
}

QImage ImageConverter::fitted(const QImage& picture, int side)
{
    if (picture.width() <= side && picture.height() <= side)
        return picture;
    return picture.scaled(side, side, Qt::KeepAspectRatio, Qt::FastTransformation);
}

QList<int> ImageConverter::cellsOnInk(const QImage& ink, QPointF place,
                                      const QList<QPointF>& centers)
{
    QList<int> cells;
    for (int c = 0; c < centers.size(); ++c) {
        const int x = int(centers[c].x() - place.x());
        const int y = int(centers[c].y() - place.y());
        if (ink.valid(x, y) && qAlpha(ink.pixel(x, y)) > 128)
            cells.append(c);
    }
    return cells;
}
