#include "layerselectallcommand.h"

#include "design.h"

LayerSelectAllCommand::LayerSelectAllCommand(Design* design, QList<int> rows, Qt::CheckState state)
    : LayerCommand(design, state == Qt::Checked ? "SELECTALL" : "IGNOREALL")
    , rows(rows)
    , state(state)
{
}

void LayerSelectAllCommand::apply(bool on)
{
    for (int row : rows)
        design->setTicked(row, on);
}

void LayerSelectAllCommand::redo()
{
    apply(state == Qt::Checked);
}

void LayerSelectAllCommand::undo()
{
    apply(state != Qt::Checked);
}
