#ifndef LAYERMOVEDCOMMAND_H
#define LAYERMOVEDCOMMAND_H

#include "layercommand.h"

class LayerWidget;

// A row dragged from one place in the list to another.
class LayerMovedCommand : public LayerCommand {
public:
    LayerMovedCommand(LayerView* view, LayerWidget* widget, int from, int to);

protected:
    void redoAction() override;
    void undoAction() override;
    void print() override;

private:
    void move(int from, int to);

    int from;
    int to;
    LayerWidget* widget;
};

#endif
