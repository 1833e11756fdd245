#include "layerview.h"

LayerView::LayerView(QWidget* parent)
    : QListWidget(parent)
{
    // Large enough that one stroke shows in the thumbnail.
    setIconSize(QSize(64, 64));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setDragEnabled(true);
    setAcceptDrops(true);
    setDropIndicatorShown(true);
    setDragDropMode(QAbstractItemView::InternalMove);
    // A row's number is its slot, so it follows the row's place, not the picture in it.
    connect(model(), &QAbstractItemModel::rowsInserted, this, &LayerView::renumber);
    connect(model(), &QAbstractItemModel::rowsRemoved, this, &LayerView::renumber);
    connect(model(), &QAbstractItemModel::rowsMoved, this, &LayerView::renumber);
}

void LayerView::renumber()
{
    // Not a change of the row that the undo history would record.
    const bool blocked = blockSignals(true);
    for (int row = 0; row < count(); ++row)
        item(row)->setText(QString::number(row + 1));
    blockSignals(blocked);
}

QListWidgetItem* LayerView::add()
{
    auto* item = new QListWidgetItem(this);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(Qt::Checked);
    return item;
}
