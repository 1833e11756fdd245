#include "layerview.h"

LayerView::LayerView(QWidget* parent)
    : QListWidget(parent)
{
    setIconSize(QSize(32, 32));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setDragEnabled(true);
    setAcceptDrops(true);
    setDropIndicatorShown(true);
    setDragDropMode(QAbstractItemView::InternalMove);
}

QListWidgetItem* LayerView::add(const QString& text)
{
    QPixmap empty(iconSize());
    empty.fill(Qt::transparent);
    auto* item = new QListWidgetItem(QIcon(empty), QString(), this);
    item->setStatusTip(text);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(Qt::Checked);
    return item;
}
