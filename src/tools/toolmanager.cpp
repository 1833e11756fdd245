#include "toolmanager.h"

#include "tool.h"

#include <QTimer>

ToolManager::ToolManager(Tool* tool)
    : tool(tool)
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
    QTimer::singleShot(10, previous, &QObject::deleteLater);
}
