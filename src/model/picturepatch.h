#ifndef PICTUREPATCH_H
#define PICTUREPATCH_H

#include <QByteArray>
#include <QImage>
#include <QRect>
#include <QSize>

// A rectangle of a picture's pixels, kept compactly: runs of equal pixels are counted, and what
// remains is compressed. Drawn pictures are mostly runs, so a stroke's rectangle shrinks to a
// few kilobytes, while a photograph-like rectangle still costs no more than its pixels.
class PicturePatch {
public:
    PicturePatch() = default;
    // The pixels of rect, which lies inside image.
    PicturePatch(const QImage& image, const QRect& rect);

    // picture with the rectangle put back. A picture of another size than the one the patch
    // was taken from is replaced by a transparent one of that size first.
    QImage applyTo(QImage picture) const;
    // Bytes the patch holds.
    qsizetype cost() const { return packed.capacity(); }

    // The smallest rectangle outside which both pictures, of the same size, are equal, within
    // an area of them or the whole.
    static QRect changedRect(const QImage& a, const QImage& b, const QRect& within = QRect());
    // Patches are kept in, and put back as, this format.
    static constexpr QImage::Format format = QImage::Format_ARGB32_Premultiplied;

private:
    QSize size;
    QRect rect;
    QByteArray packed;
};

#endif
