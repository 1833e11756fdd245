#ifndef LAYERCOMMAND_H
#define LAYERCOMMAND_H

#include <QUndoCommand>

class Design;

// A change of a design's slots on its undo stack, named by the key of its text.
class LayerCommand : public QUndoCommand {
public:
    LayerCommand(Design* design, const QString& key);

protected:
    Design* design;
};

#endif
