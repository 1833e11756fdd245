#ifndef PENTOOL_H
#define PENTOOL_H

#include "tool.h"

class PenLabel;
class QGraphicsProxyWidget;

// Freehand drawing of whole cells: every cell the pointer enters while the left button is
// down is painted with its repeats; the release delivers the stroke as one picture. A pen lives
// for one stroke.
class PenTool : public Tool {
    Q_OBJECT
public:
    PenTool(WheelWeb* web, QGraphicsView* view, QBrush brush, int div);
    explicit PenTool(Tool* other);
    ~PenTool() override;

    void hide() override;
    QString getText() override { return "DRAW"; }
    void update() override;
    // Forgets the stroke so far: nothing of it reaches the design.
    void discard();

public slots:
    void click(int index);
    void toEnd();

private:
    void build();

    // Owned by its proxy on the scene, so it goes with the scene if the view goes first.
    QPointer<PenLabel> label;
    int index = -1;
    QGraphicsProxyWidget* proxy = nullptr;
    QPixmap result;
};

#endif
