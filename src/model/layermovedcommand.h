#ifndef LAYERMOVEDCOMMAND_H
#define LAYERMOVEDCOMMAND_H

#include "layercommand.h"

// A slot's picture moved to another slot; the picture moved is the one edited.
class LayerMovedCommand : public LayerCommand {
public:
    LayerMovedCommand(Design* design, int from, int to);

    void redo() override;
    void undo() override;

private:
    void move(int source, int target);

    int from;
    int to;
};

#endif
