#ifndef LEDPICTURE_H
#define LEDPICTURE_H

#include <QImage>
#include <QSize>

#include <vector>

class QPainter;

// What the LEDs of a picture look like turning: each lit LED a soft white streak of four dots two
// pixels apart, over the 8 x 8 block of its cell and 6 columns of the next. Columns are angular
// positions in the grid's order, rows LEDs with the outermost at the top.
class LedPicture {
public:
    // Draws the few kinds of block there are.
    LedPicture();

    // The lit state of every cell in the grid's order, for lines positions of leds LEDs each: 8
    // pixels per position and LED, or, where that is larger than the most, averaged down to it.
    QImage build(const bool* states, int lines, int leds, QSize most) const;

    // One dot of a streak at (x, y).
    static void paintPoint(QPainter* painter, int x, int y);

private:
    // A block's pixels follow from whether its own cell and the one before it are lit, and the
    // order their dots were drawn in: the first cell gets the last one's streak after its own.
    enum Kind { Dark, Own, Trail, TrailThenOwn, OwnThenTrail, KindCount };

    // Pixels from..to - 1 of a block of the full-size picture, in pixel index of the result, with
    // the weight of each of them there.
    struct Span {
        int index, block, from, to;
        qint64 weight;
    };

    QImage exact(const QByteArray& kinds, int lines, int leds) const;
    // Each pixel the mean of the full-size pixels it covers, parts of pixels in part.
    QImage averaged(const QByteArray& kinds, int lines, int leds, QSize size) const;
    // Where count pixels of the result fall on full pixels, along one side.
    static std::vector<Span> spans(qint64 full, int count);

    QRgb blocks[KindCount][8][8];
};

#endif
