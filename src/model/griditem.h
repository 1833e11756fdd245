#ifndef GRIDITEM_H
#define GRIDITEM_H

#include <QCache>
#include <QGraphicsItem>
#include <QImage>

class WheelWeb;

// The LED grid over a design's pictures. Its lines are drawn at the view's own scale, not
// scaled up from a picture, so they stay one device pixel thin at any zoom and on any screen.
// A large grid has hundreds of thousands of outlines, too many to draw on every repaint: they
// are drawn once into tiles of device pixels for the scale and place of the moment, and a
// repaint copies the tiles it needs.
class GridItem : public QGraphicsItem {
public:
    explicit GridItem(const WheelWeb& web);

    QRectF boundingRect() const override;
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

    static constexpr int tileSide = 256;

private:
    // The tile at a column and row of tiles, counted from the grid's corner on the device.
    const QImage& tile(int column, int row);

    const WheelWeb& web;
    // The device transform the tiles were drawn for: its scale and the fraction of a pixel by
    // which it moves the grid.
    QTransform drawnFor;
    QCache<quint64, QImage> tiles;
};

#endif
