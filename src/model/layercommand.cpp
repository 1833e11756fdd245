#include "layercommand.h"

LayerCommand::LayerCommand(Design* design, const QString& key)
    : design(design)
{
    setText(key);
}
