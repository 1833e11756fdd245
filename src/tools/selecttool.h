#ifndef SELECTTOOL_H
#define SELECTTOOL_H

#include "celldrag.h"
#include "model/polarcells.h"
#include "tool.h"

#include <functional>

class Design;

// Cells taken out of a picture: where each lay and its colour.
struct CellClip {
    QList<int> cells;
    QList<QRgb> colours;
};

// A sector of cells chosen by a drag, as with the sector tool, and moved round the wheel: a
// drag inside it, or the arrow keys, turn it by whole positions and shift it by whole rings.
// Moved cells float, their old places empty, until Escape, a click outside, another tool or
// another slot places them as one step; cells moved beyond the rim or the hub are lost.
class SelectTool : public Tool {
    Q_OBJECT
public:
    SelectTool(Tool* other, Design* design);
    // Cells floating over the current picture at the places they were taken from.
    SelectTool(Tool* other, Design* design, const CellClip& floating);
    ~SelectTool() override;

    // Places what floats.
    void hide() override;
    QString getText() override { return "SELECTION"; }
    void update() override;

    bool hasSelection() const;
    void selectAll();
    // The selected cells where they are now, with their colours.
    CellClip selection() const;
    void moveBy(int positions, int rings);
    // Moves the selected cells and places them, one step; the selection follows them.
    void transform(const std::function<int(int)>& move, const QString& key);
    // Empties the selected cells, one step.
    void clear();
    // Places what floats, one step, and lets the selection go.
    void place();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void press(QPointF at, int cell);
    void drag(QPointF at, int cell);
    void release();
    // Lifts cells of the picture; they float where they are.
    void lift(const QList<int>& cells);
    QList<int> liveCells() const;
    PolarCells placed() const;
    // Hands the picture with the cells where they float now to the design as a step; what
    // floats then is to be lifted again.
    void commit(const QString& key);
    void pictureChanged(int changed);
    void showOutline(const QList<int>& cells);

    class Outline;

    const PolarGrid grid;
    Design* design;
    int index;
    QImage picture;
    PolarCells cells;
    // The picture's cells with the lifted ones taken out.
    PolarCells ground;
    CellClip floating;
    // Where each floating cell lies now; -1 once it left the grid.
    QList<int> places;
    // Taken from this picture, not pasted.
    bool lifted = false;
    bool committing = false;
    // Replaced by another tool, and gone soon.
    bool hidden = false;
    enum { Idle, Choosing, Moving } mode = Idle;
    SectorDrag sector;
    int grabbed = -1;
    QList<int> grabbedPlaces;
    CellDrag* area;
    Outline* outline;
};

#endif
