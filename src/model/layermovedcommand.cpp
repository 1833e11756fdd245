#include "layermovedcommand.h"

#include "design.h"

LayerMovedCommand::LayerMovedCommand(Design* design, int from, int to)
    : LayerCommand(design, "MOVETO")
    , from(from)
    , to(to)
{
}

void LayerMovedCommand::move(int source, int target)
{
    design->setRow(source, target);
    design->setCurrentRow(target);
}

void LayerMovedCommand::redo()
{
    move(from, to);
}

void LayerMovedCommand::undo()
{
    move(to, from);
}
