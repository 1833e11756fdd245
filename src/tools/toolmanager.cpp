#include "toolmanager.h"

#include "tool.h"

#include <QTimer>

ToolManager::ToolManager(Tool* tool, const WheelWeb& web, QGraphicsView* view)
    : tool(tool)
    , cursor(web, view, this)
{
}

ToolManager::~ToolManager()
{
    delete tool;
}

void ToolManager::setTool(Tool* newTool)
{
    Tool* previous = tool;
    tool = newTool;
    previous->hide();
    // Ours until then, so a manager that goes first (a closed tab, the end of the program)
    // takes it along.
    previous->setParent(this);
    QTimer::singleShot(10, previous, &QObject::deleteLater);
}
