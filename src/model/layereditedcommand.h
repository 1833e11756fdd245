#ifndef LAYEREDITEDCOMMAND_H
#define LAYEREDITEDCOMMAND_H

#include "layercommand.h"

class LayerWidget;

// Another row chosen for editing.
class LayerEditedCommand : public LayerCommand {
public:
    LayerEditedCommand(LayerView* view, LayerWidget* widget, int previous, int current);

protected:
    void redoAction() override;
    void undoAction() override;
    void print() override;

private:
    int previous;
    int current;
    LayerWidget* widget;
};

#endif
