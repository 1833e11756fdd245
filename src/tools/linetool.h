#ifndef LINETOOL_H
#define LINETOOL_H

#include "tool.h"

class CellDrag;

// A straight line of cells, from where the drag starts to the pointer, with its repeats. With
// Shift it keeps to a spoke or a ring, whichever the drag runs closer to. A line tool lives for
// one line.
class LineTool : public Tool {
    Q_OBJECT
public:
    explicit LineTool(Tool* other);
    ~LineTool() override;

    void hide() override;
    QString getText() override { return "LINE"; }
    void update() override;

private:
    void press(QPointF at, int cell);
    void drag(QPointF at, int cell, Qt::KeyboardModifiers modifiers);
    void release();
    QList<int> constrained(QPointF at, int cell) const;

    CellDrag* area;
    QPointF start;
    int startCell = -1;
    QList<int> cells;
    QPixmap result;
};

#endif
