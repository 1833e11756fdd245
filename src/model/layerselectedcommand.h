#ifndef LAYERSELECTEDCOMMAND_H
#define LAYERSELECTEDCOMMAND_H

#include "layercommand.h"

// A slot ticked or unticked.
class LayerSelectedCommand : public LayerCommand {
public:
    LayerSelectedCommand(Design* design, int row, Qt::CheckState state);

    void redo() override;
    void undo() override;

private:
    int row;
    Qt::CheckState state;
};

#endif
