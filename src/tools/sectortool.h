#ifndef SECTORTOOL_H
#define SECTORTOOL_H

#include "celldrag.h"
#include "tool.h"

class QGraphicsProxyWidget;
class QToolButton;

// The cells between two positions and two rings, dragged from one corner cell to the other,
// as an outline or filled; a toggle on the scene chooses, and is kept for the run. With one
// ring it is an arc, with one position a spoke, round the whole turn a band. A sector tool
// lives for one sector.
class SectorTool : public Tool {
    Q_OBJECT
public:
    explicit SectorTool(Tool* other);
    ~SectorTool() override;

    void hide() override;
    QString getText() override { return "SECTOR"; }
    void update() override;

    QToolButton* getFilledButton() const { return filledButton; }

    static bool filled;

private:
    void press(QPointF at, int cell);
    void drag(QPointF at, int cell);
    void release();

    CellDrag* area;
    SectorDrag sector;
    bool dragging = false;
    QGraphicsProxyWidget* proxy = nullptr;
    QToolButton* filledButton;
    QPixmap result;
};

#endif
