#include "layerselectedcommand.h"

#include "layerview.h"
#include "resources/resource.h"

LayerSelectedCommand::LayerSelectedCommand(LayerView* view, int row, Qt::CheckState state)
    : LayerCommand(view, false)
    , row(row)
    , state(state)
{
}

void LayerSelectedCommand::redoAction()
{
    view->item(row)->setCheckState(state);
}

void LayerSelectedCommand::undoAction()
{
    view->item(row)->setCheckState(state == Qt::Checked ? Qt::Unchecked : Qt::Checked);
}

void LayerSelectedCommand::print()
{
    setText(Resource::getText(state == Qt::Checked ? "SELECT" : "UNSELECT"));
}
