#ifndef IMAGECONVERTER_H
#define IMAGECONVERTER_H

#include <QImage>
#include <QList>
#include <QPointF>

// How the image tool turns a picture into LEDs: every opaque enough pixel is ink or empty by
// its grey level against a threshold (dark is ink, or light when inverted), optionally with
// the rounding error diffused to the neighbours; then the grid cells whose sampling point lies
// on ink are the ones lit.
class ImageConverter {
public:
    int threshold = 128;
    bool invert = false;
    bool dither = false;

    // Ink opaque black, the rest transparent, in ARGB32.
    QImage toInk(const QImage& picture) const;

    // The picture reduced to fit a square of the given side, as the tool first shows it.
    static QImage fitted(const QImage& picture, int side);
    // The cells (positions in the list of sampling points) that lie on ink of a picture whose
    // top left corner is at the given place on the wheel face.
    static QList<int> cellsOnInk(const QImage& ink, QPointF place, const QList<QPointF>& centers);

private:
    // With dither the threshold is the grey that turns into dots on half of its pixels: the
    // greys below it are spread over 0 to 128 and those above over 128 to 255. Diffusing the
    // error against a plain threshold would keep every grey's share of dots wherever the
    // threshold stood, and the slider would change nothing.
    int spread(int grey) const;
};

#endif
