#include "layermovedcommand.h"

#include "layerview.h"
#include "layerwidget.h"
#include "resources/resource.h"

LayerMovedCommand::LayerMovedCommand(LayerView* view, LayerWidget* widget, int from, int to)
    : LayerCommand(view, false)
    , from(from)
    , to(to)
    , widget(widget)
{
}

void LayerMovedCommand::move(int source, int target)
{
    view->insertItem(target, view->takeItem(source));
    widget->changeIndex(target);
}

void LayerMovedCommand::redoAction()
{
    move(from, to);
}

void LayerMovedCommand::undoAction()
{
    move(to, from);
}

void LayerMovedCommand::print()
{
    setText(Resource::getText("MOVETO"));
}
