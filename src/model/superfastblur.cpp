#include "superfastblur.h"

#include <QImage>

#include <vector>

// The picture is blurred as unpremultiplied ARGB, converting on the fly with Qt's own rounding;
// the four bytes of a pixel are four channels, treated alike. Both passes walk the memory in
// order, keeping one running sum per channel (and per column going down), so each pixel costs
// one add and one subtract per channel and pass whatever the radius.
QPixmap superFastBlur(QPixmap pixmap, int radius)
{
    if (radius < 1 || pixmap.isNull())
        return pixmap;
    QImage source = pixmap.toImage();
    if (source.format() != QImage::Format_ARGB32_Premultiplied)
        source = source.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const int w = source.width();
    const int h = source.height();
    const int wm = w - 1;
    const int hm = h - 1;
    const int div = 2 * radius + 1;
    const size_t span = size_t(w) * 4;
    std::vector<quint8> plane(span * h);
    std::vector<quint32> row(span / 4);
    std::vector<int> vmin(size_t(qMax(w, h)));
    std::vector<int> vmax(size_t(qMax(w, h)));
    std::vector<quint8> dv(size_t(256) * div);
    for (size_t i = 0; i < dv.size(); ++i)
        dv[i] = quint8(i / div);
    const quint8* table = dv.data();

    for (int x = 0; x < w; ++x) {
        vmin[size_t(x)] = 4 * qMin(x + radius + 1, wm);
        vmax[size_t(x)] = 4 * qMax(x - radius, 0);
    }
    for (int y = 0; y < h; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            const QRgb p = line[x];
            const uint alpha = qAlpha(p);
            row[size_t(x)] = (alpha == 0 || alpha == 255) ? p : qUnpremultiply(p);
        }
        const auto* bytes = reinterpret_cast<const uchar*>(row.data());
        quint8* out = plane.data() + size_t(y) * span;
        // Plain locals: the byte stores below could otherwise alias the sums.
        int sum0 = 0, sum1 = 0, sum2 = 0, sum3 = 0;
        for (int i = -radius; i <= radius; ++i) {
            const uchar* p = bytes + 4 * qBound(0, i, wm);
            sum0 += p[0];
            sum1 += p[1];
            sum2 += p[2];
            sum3 += p[3];
        }
        for (int x = 0; x < w; ++x) {
            out[4 * x] = table[sum0];
            out[4 * x + 1] = table[sum1];
            out[4 * x + 2] = table[sum2];
            out[4 * x + 3] = table[sum3];
            const uchar* in = bytes + vmin[size_t(x)];
            const uchar* outgoing = bytes + vmax[size_t(x)];
            sum0 += in[0] - outgoing[0];
            sum1 += in[1] - outgoing[1];
            sum2 += in[2] - outgoing[2];
            sum3 += in[3] - outgoing[3];
        }
    }

    for (int y = 0; y < h; ++y) {
        vmin[size_t(y)] = qMin(y + radius + 1, hm);
        vmax[size_t(y)] = qMax(y - radius, 0);
    }
    std::vector<int> sums(span, 0);
    for (int i = -radius; i <= radius; ++i) {
        const quint8* in = plane.data() + size_t(qBound(0, i, hm)) * span;
        for (size_t k = 0; k < span; ++k)
            sums[k] += in[k];
    }
    QImage blurred(w, h, QImage::Format_ARGB32_Premultiplied);
    auto* bytes = reinterpret_cast<uchar*>(row.data());
    for (int y = 0; y < h; ++y) {
        const quint8* in = plane.data() + size_t(vmin[size_t(y)]) * span;
        const quint8* outgoing = plane.data() + size_t(vmax[size_t(y)]) * span;
        int* sum = sums.data();
        for (size_t k = 0; k < span; ++k) {
            const int value = sum[k];
            bytes[k] = table[value];
            sum[k] = value + in[k] - outgoing[k];
        }
        auto* line = reinterpret_cast<QRgb*>(blurred.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const QRgb p = row[size_t(x)];
            const uint alpha = qAlpha(p);
            line[x] = alpha == 255 ? p : alpha == 0 ? 0 : qPremultiply(p);
        }
    }
    return QPixmap::fromImage(std::move(blurred));
}
