#ifndef CELLDRAG_H
#define CELLDRAG_H

#include "model/polarcells.h"

#include <QGraphicsObject>

class WheelWeb;

// An invisible item over the whole picture that catches the left button's drags for the shape
// tools, in picture positions and with the cell under the pointer (-1 off the grid).
class CellDrag : public QGraphicsObject {
    Q_OBJECT
public:
    explicit CellDrag(const WheelWeb& web);

    QRectF boundingRect() const override;
    void paint(QPainter*, const QStyleOptionGraphicsItem*, QWidget*) override {}

signals:
    void pressed(QPointF at, int cell);
    void dragged(QPointF at, int cell, Qt::KeyboardModifiers modifiers);
    void released();

protected:
    void mousePressEvent(QGraphicsSceneMouseEvent* event) override;
    void mouseMoveEvent(QGraphicsSceneMouseEvent* event) override;
    void mouseReleaseEvent(QGraphicsSceneMouseEvent* event) override;

private:
    const WheelWeb& web;
};

// Follows a drag round the wheel from one cell: the positions it covers run from the start's
// the short way round to the pointer's, or round the whole turn once the pointer has gone
// once around; the rings run from the start's to the pointer's.
class SectorDrag {
public:
    explicit SectorDrag(const PolarGrid& grid)
        : grid(grid)
    {
    }

    void start(int cell);
    // A cell off the grid changes nothing.
    void follow(int cell);
    int from() const { return grid.positionOf(first); }
    int span() const { return travel; }
    int startRing() const { return grid.ringOf(first); }
    int endRing() const { return grid.ringOf(last); }
    QList<int> cells(bool filled) const;

private:
    PolarGrid grid;
    int first = 0;
    int last = 0;
    int travel = 0;
};

#endif
