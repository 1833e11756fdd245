#ifndef TOOLMANAGER_H
#define TOOLMANAGER_H

#include "cellcursor.h"

#include <QObject>

class QGraphicsView;
class Tool;
class WheelWeb;

// Holds the active tool of one design view, and the cell cursor that draws with it from the
// keyboard.
class ToolManager : public QObject {
public:
    ToolManager(Tool* tool, const WheelWeb& web, QGraphicsView* view);
    ~ToolManager() override;

    Tool* getTool() const { return tool; }
    CellCursor* getCursor() { return &cursor; }
    // The previous tool is hidden at once and destroyed 10 ms later: it is usually still
    // inside its own end() signal when it is replaced.
    void setTool(Tool* tool);

private:
    Tool* tool;
    CellCursor cursor;
};

#endif
