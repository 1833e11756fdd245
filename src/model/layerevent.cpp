#include "layerevent.h"

#include <QEvent>

bool LayerEvent::eventFilter(QObject*, QEvent* event)
{
    if (event->type() == QEvent::ChildRemoved) {
        emit removed();
        return true;
    }
    if (event->type() == QEvent::ChildAdded) {
        emit added();
        return true;
    }
    return false;
}
