#ifndef LAYERSELECTALLCOMMAND_H
#define LAYERSELECTALLCOMMAND_H

#include "layercommand.h"

#include <QList>

// Several rows ticked or unticked at once; the command itself applies the change.
class LayerSelectAllCommand : public LayerCommand {
public:
    LayerSelectAllCommand(LayerView* view, QList<int> rows, Qt::CheckState state);

protected:
    void redoAction() override;
    void undoAction() override;
    void print() override;

private:
    void apply(Qt::CheckState checkState);

    QList<int> rows;
    Qt::CheckState state;
};

#endif
