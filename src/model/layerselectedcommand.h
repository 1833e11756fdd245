#ifndef LAYERSELECTEDCOMMAND_H
#define LAYERSELECTEDCOMMAND_H

#include "layercommand.h"

// A row ticked or unticked.
class LayerSelectedCommand : public LayerCommand {
public:
    LayerSelectedCommand(LayerView* view, int row, Qt::CheckState state);

protected:
    void redoAction() override;
    void undoAction() override;
    void print() override;

private:
    int row;
    Qt::CheckState state;
};

#endif
