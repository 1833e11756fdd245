#include "layerselectedcommand.h"

#include "design.h"

LayerSelectedCommand::LayerSelectedCommand(Design* design, int row, Qt::CheckState state)
    : LayerCommand(design, state == Qt::Checked ? "SELECT" : "UNSELECT")
    , row(row)
    , state(state)
{
}

void LayerSelectedCommand::redo()
{
    design->setTicked(row, state == Qt::Checked);
}

void LayerSelectedCommand::undo()
{
    design->setTicked(row, state != Qt::Checked);
}
