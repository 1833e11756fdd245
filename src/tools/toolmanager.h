#ifndef TOOLMANAGER_H
#define TOOLMANAGER_H

#include <QObject>

class Tool;

// Holds the active tool of one design view.
class ToolManager : public QObject {
public:
    explicit ToolManager(Tool* tool);
    ~ToolManager() override;

    Tool* getTool() const { return tool; }
    // The previous tool is hidden at once and destroyed 10 ms later: it is usually still
    // inside its own end() signal when it is replaced.
    void setTool(Tool* tool);

private:
    Tool* tool;
};

#endif
