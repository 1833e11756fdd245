#include "layerselectallcommand.h"

#include "layerview.h"
#include "resources/resource.h"

LayerSelectAllCommand::LayerSelectAllCommand(LayerView* view, QList<int> rows, Qt::CheckState state)
    : LayerCommand(view, true)
    , rows(rows)
    , state(state)
{
}

void LayerSelectAllCommand::apply(Qt::CheckState checkState)
{
    for (int row : rows)
        view->item(row)->setCheckState(checkState);
}

void LayerSelectAllCommand::redoAction()
{
    apply(state);
}

void LayerSelectAllCommand::undoAction()
{
    apply(state == Qt::Checked ? Qt::Unchecked : Qt::Checked);
}

void LayerSelectAllCommand::print()
{
    setText(Resource::getText(state == Qt::Checked ? "SELECTALL" : "IGNOREALL"));
}
