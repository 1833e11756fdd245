#include "wheelcommand.h"

#include "resources/resource.h"
#include "wheelpanel.h"

WheelCommand::WheelCommand(WheelPanel* panel, int index, QPixmap before, QPixmap after,
                           QString text)
    : panel(panel)
    , index(index)
    , before(before)
    , after(after)
    , text(text)
{
}

void WheelCommand::redo()
{
    panel->setPixmap(after, index);
    print();
}

void WheelCommand::undo()
{
    panel->setPixmap(before, index);
}

void WheelCommand::print()
{
    setText(Resource::getText(text));
}
