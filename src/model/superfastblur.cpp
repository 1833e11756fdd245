#include "superfastblur.h"

#include <array>
#include <cstring>
#include <limits>
#include <vector>

// The picture is blurred as unpremultiplied ARGB with Qt's own rounding; the four bytes of a
// pixel are four channels in memory order, treated alike. Every loop but the running sum
// across a row is a plain loop over arrays, so the compiler runs it in vector registers: no
// branches, no table lookups in the inner loops, divisions by the window made multiplications.
namespace {

// Division by the window width, exact for every sum the window can hold, as the high half of
// a product with a multiplier of the lane's width, then a shift: vector units multiply so.
template <typename Lane, typename Wide>
class Divider {
public:
    explicit Divider(quint64 window)
    {
        const quint64 largest = 255 * window;
        if (largest > std::numeric_limits<Lane>::max())
            return;
        for (int k = bits; k < 63; ++k) {
            const quint64 power = quint64(1) << k;
            const quint64 m = (power + window - 1) / window;
            if (m > std::numeric_limits<Lane>::max())
                break;
            // floor(s * m / 2^k) = floor(s / window) for all s up to largest when the excess of
            // m * window over 2^k, times largest, stays below 2^k.
            if (largest * (m * window - power) < power) {
                multiplier = Lane(m);
                shift = k - bits;
            }
        }
    }
    bool isExact() const { return multiplier != 0; }
    quint8 operator()(Lane sum) const
    {
        const Lane product = Lane((Wide(sum) * multiplier) >> bits);
        return quint8(product >> shift);
    }

private:
    static constexpr int bits = 8 * sizeof(Lane);
    Lane multiplier = 0;
    int shift = 0;
};

template <typename Lane>
quint64 loadWord(const Lane* lanes)
{
    quint64 word;
    std::memcpy(&word, lanes, sizeof(word));
    return word;
}

// Which of a pixel's four bytes in memory holds its alpha.
size_t alphaLane()
{
    const QRgb alphaOnly = qRgba(0, 0, 0, 255);
    const auto* bytes = reinterpret_cast<const quint8*>(&alphaOnly);
    return bytes[0] != 0 ? 0 : 3;
}

// qUnpremultiply as 16-bit lane arithmetic: Qt scales a channel c by its alpha's factor f as
// (c * f + 0x8000) >> 16. With f = h * 2^16 + l that is c * h + ((c * l) >> 16) plus the
// rounding bit 15 of c * l. By alpha, the four lanes' h and l in memory order; the alpha lane
// keeps its value, and alpha 0 and 255 come out as Qt's shortcuts give them.
struct UnpremultiplyFactor {
    quint64 high = 0;
    quint64 low = 0;
};

const std::array<UnpremultiplyFactor, 256>& unpremultiplyFactors()
{
    static const std::array<UnpremultiplyFactor, 256> factors = [] {
        std::array<UnpremultiplyFactor, 256> table;
        for (uint alpha = 1; alpha < 256; ++alpha) {
            const uint f = alpha == 255 ? 0x10000 : qt_inv_premul_factor[alpha];
            quint16 high[4];
            quint16 low[4];
            for (int lane = 0; lane < 4; ++lane) {
                const bool isAlpha = size_t(lane) == alphaLane();
                high[lane] = quint16(isAlpha ? 1 : f >> 16);
                low[lane] = quint16(isAlpha ? 0 : f & 0xffff);
            }
            std::memcpy(&table[alpha].high, high, sizeof(quint64));
            std::memcpy(&table[alpha].low, low, sizeof(quint64));
        }
        return table;
    }();
    return factors;
}

// One row of the horizontal pass: the row unpremultiplied, widened to lanes with radius copies
// of its end pixels on either side, summed over the window and divided. Lanes hold sums of one
// channel; the running sums go a 64-bit word at a time, several lanes at once, and a word's
// lanes never carry into each other since every lane's true value stays in range.
template <typename Lane, typename Wide>
class RowBlur {
public:
    RowBlur(int width, int radius)
        : radius(radius)
        , span(size_t(width) * 4)
        , high(span)
        , low(span)
        , padded(span + (2 * size_t(radius) + 1) * 4)
        , sums(span)
    {
    }

    // Byte stores may alias anything, so what the loops read is copied to locals first.
    void operator()(const QRgb* line, quint8* out, const Divider<Lane, Wide> divide)
    {
        const size_t n = span;
        const auto& factors = unpremultiplyFactors();
        quint16* highData = high.data();
        quint16* lowData = low.data();
        for (size_t x = 0; x < n / 4; ++x) {
            const auto& factor = factors[qAlpha(line[x])];
            std::memcpy(highData + 4 * x, &factor.high, sizeof(quint64));
            std::memcpy(lowData + 4 * x, &factor.low, sizeof(quint64));
        }
        const auto* bytes = reinterpret_cast<const quint8*>(line);
        Lane* start = padded.data();
        Lane* middle = start + size_t(radius) * 4;
        for (size_t k = 0; k < n; ++k) {
            const quint16 c = bytes[k];
            const quint16 product = quint16(c * lowData[k]);
            middle[k] = Lane(
                (c * highData[k] + quint16((quint32(c) * lowData[k]) >> 16) + (product >> 15)) &
                0xff);
        }
        for (size_t i = 0; i < size_t(radius) * 4; ++i) {
            start[i] = middle[i % 4];
            middle[n + i] = middle[n - 4 + i % 4];
        }
        constexpr size_t wordLanes = sizeof(quint64) / sizeof(Lane);
        constexpr size_t pixelWords = 4 / wordLanes;
        const size_t window = (2 * size_t(radius) + 1) * 4;
        quint64 sum[pixelWords] = {};
        for (size_t i = 0; i < window; i += 4)
            for (size_t j = 0; j < pixelWords; ++j)
                sum[j] += loadWord(start + i + j * wordLanes);
        Lane* sumsData = sums.data();
        for (size_t at = 0; at < n; at += 4)
            for (size_t j = 0; j < pixelWords; ++j) {
                const size_t lane = at + j * wordLanes;
                std::memcpy(sumsData + lane, &sum[j], sizeof(quint64));
                sum[j] += loadWord(start + lane + window) - loadWord(start + lane);
            }
        for (size_t k = 0; k < n; ++k)
            out[k] = divide(sumsData[k]);
    }

private:
    int radius;
    size_t span;
    // By lane: the unpremultiplying factor of the pixel's alpha, split in 16-bit halves.
    std::vector<quint16> high;
    std::vector<quint16> low;
    std::vector<Lane> padded;
    std::vector<Lane> sums;
};

// The vertical pass runs right behind the horizontal one: only the rows its window needs are
// kept, in a ring, so they stay in the cache.
template <typename Lane, typename Wide>
QImage blur(const QImage& source, int radius, const Divider<Lane, Wide> divide)
{
    const int w = source.width();
    const int h = source.height();
    const size_t span = size_t(w) * 4;
    const int rows = qMin(2 * radius + 2, h);
    std::vector<quint8> ring(span * size_t(rows));
    RowBlur<Lane, Wide> across(w, radius);
    auto acrossRow = [&](int y) {
        quint8* out = ring.data() + size_t(y % rows) * span;
        across(reinterpret_cast<const QRgb*>(source.constScanLine(y)), out, divide);
    };
    auto ringRow = [&](int y) { return ring.data() + size_t(y % rows) * span; };

    for (int y = 0; y < qMin(radius + 1, h); ++y)
        acrossRow(y);
    std::vector<Lane> sums(span, 0);
    Lane* down = sums.data();
    for (int i = -radius; i <= radius; ++i) {
        const quint8* in = ringRow(qBound(0, i, h - 1));
        for (size_t k = 0; k < span; ++k)
            down[k] = Lane(down[k] + in[k]);
    }
    QImage blurred(w, h, QImage::Format_ARGB32_Premultiplied);
    std::vector<QRgb> row(span / 4);
    auto* bytes = reinterpret_cast<quint8*>(row.data());
    for (int y = 0; y < h; ++y) {
        const int next = y + radius + 1;
        if (next < h)
            acrossRow(next);
        const quint8* in = ringRow(qMin(next, h - 1));
        const quint8* outgoing = ringRow(qMax(y - radius, 0));
        for (size_t k = 0; k < span; ++k) {
            bytes[k] = divide(down[k]);
            down[k] = Lane(down[k] + in[k] - outgoing[k]);
        }
        // qPremultiply is exact for alpha 255 and 0 as well.
        auto* line = reinterpret_cast<QRgb*>(blurred.scanLine(y));
        for (int x = 0; x < w; ++x)
            line[x] = qPremultiply(row[size_t(x)]);
    }
    return blurred;
}

} // namespace

QImage superFastBlur(const QImage& image, int radius)
{
    if (image.isNull())
        return image;
    const QImage source = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (radius < 1)
        return source;
    const quint64 window = 2 * quint64(radius) + 1;
    const Divider<quint16, quint32> narrow(window);
    if (narrow.isExact())
        return blur(source, radius, narrow);
    return blur(source, radius, Divider<quint32, quint64>(window));
}

QPixmap superFastBlur(QPixmap pixmap, int radius)
{
    if (radius < 1 || pixmap.isNull())
        return pixmap;
    return QPixmap::fromImage(superFastBlur(pixmap.toImage(), radius));
}
