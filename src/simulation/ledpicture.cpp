#include "ledpicture.h"

#include <QPainter>
#include <QRadialGradient>

#include <algorithm>
#include <cstring>
#include <vector>

LedPicture::LedPicture()
{
    // Each kind drawn alone as a block at x = 8 with the cell before it at x = 0, its dots in the
    // order the whole picture would draw them.
    const QList<int> dots[KindCount] = {{},
                                        {8, 10, 12, 14},
                                        {0, 2, 4, 6},
                                        {0, 2, 4, 6, 8, 10, 12, 14},
                                        {8, 10, 12, 14, 0, 2, 4, 6}};
    QRadialGradient gradient(4, 4, 4);
    gradient.setColorAt(0, Qt::white);
    gradient.setColorAt(1, Qt::transparent);
    for (int kind = 0; kind < KindCount; ++kind) {
        QImage image(16, 8, QImage::Format_ARGB32);
        image.fill(0);
        QPainter painter(&image);
        painter.setPen(Qt::NoPen);
        painter.setBrush(gradient);
        for (int x : dots[kind])
            paintPoint(&painter, x, 0);
        painter.end();
        for (int r = 0; r < 8; ++r)
            std::memcpy(blocks[kind][r], reinterpret_cast<const QRgb*>(image.constScanLine(r)) + 8,
                        sizeof blocks[kind][r]);
    }
}

QImage LedPicture::build(const bool* states, int lines, int leds, QSize most) const
{
    if (lines < 1 || leds < 1) {
        // A product without positions or LEDs still gets a (dark) picture.
        QImage dark(8 * qMax(lines, 1), 8 * qMax(leds, 1), QImage::Format_ARGB32);
        dark.fill(0);
        return dark;
    }
    // By LED, then position: the rows of the picture. Taken in tiles of positions, so that both
    // the states read across and the kinds written along stay in the cache.
    QByteArray kinds(qsizetype(lines) * leds, Qt::Uninitialized);
    char* rows = kinds.data();
    for (int first = 0; first < lines; first += 64) {
        const int last = qMin(first + 64, lines);
        for (int j = 0; j < leds; ++j) {
            for (int c = first; c < last; ++c) {
                const bool own = states[qsizetype(c) * leds + j];
                const bool before = states[qsizetype(c > 0 ? c - 1 : lines - 1) * leds + j];
                Kind kind = Dark;
                if (own && before)
                    kind = c > 0 ? TrailThenOwn : OwnThenTrail;
                else if (own)
                    kind = Own;
                else if (before)
                    kind = Trail;
                rows[qsizetype(j) * lines + c] = char(kind);
            }
        }
    }
    const QSize full(8 * lines, 8 * leds);
    if (full.width() <= most.width() && full.height() <= most.height())
        return exact(kinds, lines, leds);
    return averaged(kinds, lines, leds, full.boundedTo(most));
}

void LedPicture::paintPoint(QPainter* painter, int x, int y)
{
    painter->save();
    painter->translate(x, y);
    painter->drawRect(0, 0, 31, 31);
    painter->restore();
}

QImage LedPicture::exact(const QByteArray& kinds, int lines, int leds) const
{
    QImage image(8 * lines, 8 * leds, QImage::Format_ARGB32);
    for (int j = 0; j < leds; ++j) {
        const char* kind = kinds.constData() + qsizetype(j) * lines;
        for (int r = 0; r < 8; ++r) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(8 * j + r));
            for (int c = 0; c < lines; ++c)
                std::memcpy(line + 8 * c, blocks[int(kind[c])][r], sizeof blocks[0][r]);
        }
    }
    return image;
}

QImage LedPicture::averaged(const QByteArray& kinds, int lines, int leds, QSize size) const
{
    // Each block's alpha summed over the rows above r and the columns left of o: any part of a
    // block then costs a few look-ups.
    int area[KindCount][9][9] = {};
    for (int k = 0; k < KindCount; ++k)
        for (int r = 1; r <= 8; ++r)
            for (int o = 1; o <= 8; ++o)
                area[k][r][o] = qAlpha(blocks[k][r - 1][o - 1]) + area[k][r - 1][o] +
                                area[k][r][o - 1] - area[k][r - 1][o - 1];

    const std::vector<Span> columns = spans(8LL * lines, size.width());
    const std::vector<Span> rows = spans(8LL * leds, size.height());
    // What a pixel of the result covers, in the spans' units.
    const qint64 whole = 64LL * lines * leds;
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    std::vector<qint64> sums(size.width());
    auto row = rows.cbegin();
    for (int y = 0; y < size.height(); ++y) {
        std::fill(sums.begin(), sums.end(), 0);
        for (; row != rows.cend() && row->index == y; ++row) {
            qint64 summed[KindCount][9];
            for (int k = 0; k < KindCount; ++k)
                for (int o = 0; o <= 8; ++o)
                    summed[k][o] = row->weight * (area[k][row->to][o] - area[k][row->from][o]);
            const char* kind = kinds.constData() + qsizetype(row->block) * lines;
            for (const Span& column : columns) {
                const qint64* sum = summed[int(kind[column.block])];
                sums[column.index] += column.weight * (sum[column.to] - sum[column.from]);
            }
        }
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x)
            // White, premultiplied.
            line[x] = uint((sums[x] + whole / 2) / whole) * 0x01010101u;
    }
    return image;
}

std::vector<LedPicture::Span> LedPicture::spans(qint64 full, int count)
{
    // In units of 1 / count of a full pixel, pixel p covers [p * count, (p + 1) * count) and
    // pixel i of the result [i * full, (i + 1) * full).
    std::vector<Span> spans;
    for (int i = 0; i < count; ++i) {
        const qint64 end = (i + 1) * full;
        for (qint64 at = i * full; at < end;) {
            const qint64 pixel = at / count;
            const int block = int(pixel / 8), from = int(pixel % 8);
            if (at > pixel * count || (pixel + 1) * count > end) {
                // A pixel the result's edge cuts.
                const qint64 stop = qMin(end, (pixel + 1) * count);
                spans.push_back({i, block, from, from + 1, stop - at});
                at = stop;
            } else {
                // Whole pixels, to the block's edge at most.
                const qint64 stop = qMin(end / count, 8LL * block + 8);
                spans.push_back({i, block, from, int(stop - 8LL * block), count});
                at = stop * count;
            }
        }
    }
    return spans;
}
