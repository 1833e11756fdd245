#include "superfastblur.h"

#include <QImage>

#include <vector>

QPixmap superFastBlur(QPixmap pixmap, int radius)
{
    if (radius < 1 || pixmap.isNull())
        return pixmap;
    QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
    const int w = image.width();
    const int h = image.height();
    const int wm = w - 1;
    const int hm = h - 1;
    const int div = 2 * radius + 1;
    std::vector<quint8> planes(size_t(w) * h * 4);
    std::vector<int> vmin(size_t(qMax(w, h)));
    std::vector<int> vmax(size_t(qMax(w, h)));
    std::vector<quint8> dv(size_t(256) * div);
    for (size_t i = 0; i < dv.size(); ++i)
        dv[i] = quint8(i / div);

    // The channels lie side by side in memory, four bytes a pixel, and are treated alike.
    const auto pixel = [&](int x, int y) {
        return image.constBits() + y * image.bytesPerLine() + 4 * x;
    };
    for (int x = 0; x < w; ++x) {
        vmin[size_t(x)] = qMin(x + radius + 1, wm);
        vmax[size_t(x)] = qMax(x - radius, 0);
    }
    for (int y = 0; y < h; ++y) {
        for (int c = 0; c < 4; ++c) {
            int sum = 0;
            for (int i = -radius; i <= radius; ++i)
                sum += pixel(qBound(0, i, wm), y)[c];
            quint8* plane = planes.data() + size_t(c) * w * h + size_t(y) * w;
            for (int x = 0; x < w; ++x) {
                plane[x] = dv[size_t(sum)];
                sum += pixel(vmin[size_t(x)], y)[c] - pixel(vmax[size_t(x)], y)[c];
            }
        }
    }

    for (int y = 0; y < h; ++y) {
        vmin[size_t(y)] = qMin(y + radius + 1, hm) * w;
        vmax[size_t(y)] = qMax(y - radius, 0) * w;
    }
    uchar* bits = image.bits();
    const qsizetype stride = image.bytesPerLine();
    for (int x = 0; x < w; ++x) {
        for (int c = 0; c < 4; ++c) {
            const quint8* plane = planes.data() + size_t(c) * w * h;
            int sum = 0;
            for (int i = -radius; i <= radius; ++i)
                sum += plane[qBound(0, i, hm) * w + x];
            for (int y = 0; y < h; ++y) {
                bits[y * stride + 4 * x + c] = dv[size_t(sum)];
                sum += plane[x + vmin[size_t(y)]] - plane[x + vmax[size_t(y)]];
            }
        }
    }
    return QPixmap::fromImage(image);
}
