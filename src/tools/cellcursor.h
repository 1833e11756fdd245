#ifndef CELLCURSOR_H
#define CELLCURSOR_H

#include <QObject>
#include <QPointer>

class QGraphicsView;
class QKeyEvent;
class ToolManager;
class WheelWeb;

// Drawing from the keyboard on a design view: while the view has the focus, a cell cursor is
// shown with its repeats; Left and Right move it one angular position (clockwise is Right), Up
// and Down one ring (outwards is Up). The cells go to the view's pen, which paints them as a
// stroke of the mouse would.
//
// A run is one stroke and so one undo step: Space paints the cursor's cell and, while it is
// held, every cell the cursor enters; the run ends when Space comes up or the view loses the
// focus. Enter paints the cursor's cell as a run of its own. A mouse press while Space is held
// abandons the run: Space and the mouse pan the view then.
class CellCursor : public QObject {
    Q_OBJECT
public:
    CellCursor(const WheelWeb& web, QGraphicsView* view, ToolManager* tools);
    ~CellCursor() override;

    // The cursor's cell as a position in the grid's cell list.
    int getCell() const;
    bool isShown() const;
    // Space is down: a run is being drawn.
    bool isHeld() const { return held; }
    // Shows the repeats of the tool's division as it is now.
    void update();

signals:
    void heldChanged(bool held);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool keyPress(QKeyEvent* event);
    bool keyRelease(QKeyEvent* event);
    void move(int angles, int rings);
    void paint();
    void finish();
    void setHeld(bool down);

    class Outline;

    const WheelWeb& web;
    QPointer<QGraphicsView> view;
    ToolManager* tools;
    Outline* outline;
    int angle;
    int ring = 0;
    bool held = false;
    bool painted = false;
};

#endif
