#include "layerview.h"

#include <QDragLeaveEvent>
#include <QDropEvent>

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

void LayerView::dropEvent(QDropEvent* event)
{
    // The row is moved here rather than by Qt, which copies a row let go below the last one to
    // the end and then removes the original: for a moment the list holds a row that stands for
    // no slot. Let go where it stands, it does not move at all.
    const int from = currentRow();
    const int before = dropRow(event);
    if (from >= 0 && before != from && before != from + 1)
        model()->moveRow(QModelIndex(), from, QModelIndex(), before);
    // Left unaccepted, the drop leaves the drag nothing to remove; it ends as leaving the list
    // does.
    QDragLeaveEvent leave;
    QListWidget::dragLeaveEvent(&leave);
}

int LayerView::dropRow(const QDropEvent* event) const
{
    const QModelIndex index = indexAt(event->position().toPoint());
    if (!index.isValid() || dropIndicatorPosition() == OnViewport)
        return count();
    return dropIndicatorPosition() == BelowItem ? index.row() + 1 : index.row();
}
