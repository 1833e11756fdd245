#ifndef CELLPAINTER_H
#define CELLPAINTER_H

#include <QBrush>
#include <QImage>
#include <QPointF>
#include <QSize>

class QPainter;
class WheelWeb;

// Paints whole grid cells, each with its repeats round the wheel, in a brush. Every tool paints
// cells this way, and every picture becomes cells this way: the image tool's OK, each frame of
// an import, and the command-line sender.
class CellPainter {
public:
    CellPainter(const WheelWeb& web, QBrush brush, int div);

    // Paints the cell at a list position and its div - 1 repeats around the wheel.
    void paintRepeats(QPainter* painter, int position) const;
    // A picture of the grid's size with the cells at these list positions and their repeats
    // in the brush's colour; pixel by pixel, as quick for the whole grid as for a few cells.
    QImage paintCells(const QList<int>& cells) const;
    // A picture of the grid's size with every cell whose sampling point lies on ink painted;
    // the ink picture's top left corner lies at the place.
    QImage paintOnInk(const QImage& ink, QPointF place) const;
    // What the image tool delivers on OK for a picture fitted to the wheel, at its opening
    // place with its first settings.
    QImage paintPicture(const QImage& fitted) const;

    // Where a picture of a size first stands on a wheel picture of a side: centred, or at the
    // top edge when the strokes repeat round the wheel.
    static QPointF openingPlace(QSize size, int side, int div);

private:
    const WheelWeb& web;
    QBrush brush;
    int div;
};

#endif
