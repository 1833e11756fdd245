#ifndef LAYEREDITEDCOMMAND_H
#define LAYEREDITEDCOMMAND_H

#include "layercommand.h"

// Another slot chosen for editing.
class LayerEditedCommand : public LayerCommand {
public:
    LayerEditedCommand(Design* design, int previous, int current);

    void redo() override;
    void undo() override;

private:
    int previous;
    int current;
};

#endif
