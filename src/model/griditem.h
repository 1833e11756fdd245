#ifndef GRIDITEM_H
#define GRIDITEM_H

#include <QGraphicsItem>

class WheelWeb;

// The LED grid over a design's pictures. Its lines are drawn at the view's own scale, not
// scaled up from a picture, so they stay one device pixel thin at any zoom and on any screen.
class GridItem : public QGraphicsItem {
public:
    explicit GridItem(const WheelWeb& web);

    QRectF boundingRect() const override;
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

private:
    const WheelWeb& web;
};

#endif
