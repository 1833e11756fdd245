#include "layercommand.h"

#include "layerview.h"

LayerCommand::LayerCommand(LayerView* view, bool armed)
    : view(view)
    , armed(armed)
{
}

void LayerCommand::redo()
{
    print();
    if (!armed) {
        armed = true;
        return;
    }
    const bool blocked = view->blockSignals(true);
    redoAction();
    view->blockSignals(blocked);
}

void LayerCommand::undo()
{
    print();
    const bool blocked = view->blockSignals(true);
    undoAction();
    view->blockSignals(blocked);
}
