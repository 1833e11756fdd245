#ifndef LAYERCOMMAND_H
#define LAYERCOMMAND_H

#include <QUndoCommand>

class LayerView;

// A change of the layer list on the design's undo stack. A command made after the user's own
// action (armed false) does nothing on the first redo that pushing performs; later redos and
// every undo act on the view with its signals blocked, so they make no new commands.
class LayerCommand : public QUndoCommand {
public:
    LayerCommand(LayerView* view, bool armed);

    void undo() override;
    void redo() override;

protected:
    virtual void redoAction() = 0;
    virtual void undoAction() = 0;
    virtual void print() = 0;

    LayerView* view;

private:
    bool armed;
};

#endif
