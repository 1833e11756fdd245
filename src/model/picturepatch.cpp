#include "picturepatch.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

// A run is one count word with this bit set and the repeated pixel; a literal is a count word
// and that many pixels.
constexpr quint32 runBit = 0x80000000u;
constexpr int shortestRun = 3;

std::vector<quint32> countRuns(const quint32* pixels, qsizetype n)
{
    std::vector<quint32> words;
    qsizetype literal = 0;
    auto flushLiteral = [&](qsizetype end) {
        if (end == literal)
            return;
        words.push_back(quint32(end - literal));
        words.insert(words.end(), pixels + literal, pixels + end);
    };
    qsizetype i = 0;
    while (i < n) {
        qsizetype j = i + 1;
        while (j < n && pixels[j] == pixels[i])
            ++j;
        if (j - i >= shortestRun) {
            flushLiteral(i);
            words.push_back(runBit | quint32(j - i));
            words.push_back(pixels[i]);
            literal = j;
        }
        i = j;
    }
    flushLiteral(n);
    return words;
}

// Writes the counted pixels into out, which holds n pixels; false when the words do not add
// up to exactly n.
bool expandRuns(const quint32* words, qsizetype count, quint32* out, qsizetype n)
{
    qsizetype at = 0;
    qsizetype i = 0;
    while (i < count) {
        const quint32 word = words[i++];
        const qsizetype length = word & ~runBit;
        if (length > n - at)
            return false;
        if (word & runBit) {
            if (i >= count)
                return false;
            std::fill(out + at, out + at + length, words[i++]);
        } else {
            if (length > count - i)
                return false;
            std::memcpy(out + at, words + i, size_t(length) * sizeof(quint32));
            i += length;
        }
        at += length;
    }
    return at == n;
}

} // namespace

PicturePatch::PicturePatch(const QImage& image, const QRect& rect)
    : size(image.size())
    , rect(rect)
{
    if (rect.isEmpty())
        return;
    // A 32-bit copy of a rectangle has no padding between its rows.
    const QImage part = image.copy(rect).convertToFormat(format);
    const auto* pixels = reinterpret_cast<const quint32*>(part.constBits());
    const std::vector<quint32> words = countRuns(pixels, qsizetype(part.width()) * part.height());
    packed = qCompress(reinterpret_cast<const uchar*>(words.data()),
                       qsizetype(words.size() * sizeof(quint32)), 1);
    packed.squeeze();
}

QImage PicturePatch::applyTo(QImage picture) const
{
    if (picture.size() != size) {
        picture = QImage(size, format);
        picture.fill(Qt::transparent);
    } else if (picture.format() != format) {
        picture.convertTo(format);
    }
    if (rect.isEmpty())
        return picture;
    const QByteArray bytes = qUncompress(packed);
    const qsizetype n = qsizetype(rect.width()) * rect.height();
    std::vector<quint32> pixels(size_t(n), 0);
    if (!expandRuns(reinterpret_cast<const quint32*>(bytes.constData()),
                    bytes.size() / qsizetype(sizeof(quint32)), pixels.data(), n))
        qWarning("Rimglow: a stored picture step is damaged");
    for (int y = 0; y < rect.height(); ++y)
        std::memcpy(picture.scanLine(rect.top() + y) + rect.left() * sizeof(quint32),
                    pixels.data() + qsizetype(y) * rect.width(),
                    size_t(rect.width()) * sizeof(quint32));
    return picture;
}

QRect PicturePatch::changedRect(const QImage& a, const QImage& b, const QRect& within)
{
    const QRect area = within.isNull() ? a.rect() : within;
    const size_t rowBytes = size_t(area.width()) * sizeof(quint32);
    const qsizetype skip = qsizetype(area.left()) * qsizetype(sizeof(quint32));
    auto sameRow = [&](int y) {
        return std::memcmp(a.constScanLine(y) + skip, b.constScanLine(y) + skip, rowBytes) == 0;
    };
    int top = area.top();
    while (top <= area.bottom() && sameRow(top))
        ++top;
    if (top > area.bottom())
        return QRect();
    int bottom = area.bottom();
    while (sameRow(bottom))
        --bottom;
    int left = area.right() + 1;
    int right = area.left() - 1;
    for (int y = top; y <= bottom; ++y) {
        const auto* rowA = reinterpret_cast<const quint32*>(a.constScanLine(y));
        const auto* rowB = reinterpret_cast<const quint32*>(b.constScanLine(y));
        for (int x = area.left(); x < left; ++x)
            if (rowA[x] != rowB[x]) {
                left = x;
                break;
            }
        for (int x = area.right(); x > right; --x)
            if (rowA[x] != rowB[x]) {
                right = x;
                break;
            }
    }
    return QRect(QPoint(left, top), QPoint(right, bottom));
}
