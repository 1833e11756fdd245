#include "layereditedcommand.h"

#include "design.h"

LayerEditedCommand::LayerEditedCommand(Design* design, int previous, int current)
    : LayerCommand(design, "EDIT")
    , previous(previous)
    , current(current)
{
}

void LayerEditedCommand::redo()
{
    design->setCurrentRow(current);
}

void LayerEditedCommand::undo()
{
    design->setCurrentRow(previous);
}
