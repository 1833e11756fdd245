#ifndef LAYERSELECTALLCOMMAND_H
#define LAYERSELECTALLCOMMAND_H

#include "layercommand.h"

#include <QList>

// Several slots ticked or unticked at once.
class LayerSelectAllCommand : public LayerCommand {
public:
    LayerSelectAllCommand(Design* design, QList<int> rows, Qt::CheckState state);

    void redo() override;
    void undo() override;

private:
    void apply(bool on);

    QList<int> rows;
    Qt::CheckState state;
};

#endif
