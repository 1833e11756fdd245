#include "layereditedcommand.h"

#include "layerwidget.h"
#include "resources/resource.h"

LayerEditedCommand::LayerEditedCommand(LayerView* view, LayerWidget* widget, int previous,
                                       int current)
    : LayerCommand(view, false)
    , previous(previous)
    , current(current)
    , widget(widget)
{
}

void LayerEditedCommand::redoAction()
{
    widget->changeIndex(current);
}

void LayerEditedCommand::undoAction()
{
    widget->changeIndex(previous);
}

void LayerEditedCommand::print()
{
    setText(Resource::getText("EDIT"));
}
