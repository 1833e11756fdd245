#include "layerwidget.h"

#include "layereditedcommand.h"
#include "layermovedcommand.h"
#include "layerselectallcommand.h"
#include "layerselectedcommand.h"
#include "resources/resource.h"
#include "superfastblur.h"

#include <QBoxLayout>
#include <QPainter>
#include <QPushButton>
#include <QUndoStack>

LayerWidget::LayerWidget(QUndoStack* stack, int count, QWidget* parent)
    : QWidget(parent)
    , stack(stack)
{
    QPixmap empty(512, 512);
    empty.fill(Qt::transparent);
    const QIcon blank(thumbnail(empty));
    for (int i = 0; i < count; ++i)
        view.add(QString::number(i))->setIcon(blank);
    view.setCurrentRow(0);

    connect(&view, &QListWidget::currentItemChanged, this, &LayerWidget::currentRowChanged);
    connect(&view, &QListWidget::itemChanged, this, &LayerWidget::itemChecked);
    view.installEventFilter(&watcher);
    connect(&watcher, &LayerEvent::added, this, &LayerWidget::added);
    connect(&watcher, &LayerEvent::removed, this, &LayerWidget::removed);

    transmitButton = new QPushButton(this);
    transmitButton->setIconSize(QSize(32, 32));
    Resource::addText(transmitButton, "text", "CONNECTION");
    Resource::addIcon(transmitButton, "TRANSMIT");
    selectAllButton = new QPushButton(this);
    Resource::add(selectAllButton, "text", "SELECTALL");
    ignoreAllButton = new QPushButton(this);
    Resource::add(ignoreAllButton, "text", "IGNOREALL");

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(0);
    buttons->setContentsMargins(0, 0, 0, 0);
    buttons->addWidget(selectAllButton);
    buttons->addWidget(ignoreAllButton);
    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(0);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(buttons);
    layout->addWidget(&view);
    layout->addWidget(transmitButton);

    connect(transmitButton, &QPushButton::clicked, this, &LayerWidget::toTransmit);
    connect(selectAllButton, &QPushButton::clicked, this, &LayerWidget::selectAll);
    connect(ignoreAllButton, &QPushButton::clicked, this, &LayerWidget::unselectAll);
}

LayerWidget::~LayerWidget()
{
    // The view's rows go with it; that must not reach the undo stack.
    disconnect(&view, nullptr, this, nullptr);
    view.removeEventFilter(&watcher);
    Resource::remove(transmitButton);
    Resource::remove(selectAllButton);
    Resource::remove(ignoreAllButton);
}

int LayerWidget::getIndex(QListWidgetItem* item) const
{
    return int(item->statusTip().toUInt(nullptr, 10));
}

void LayerWidget::changeIndex(int row)
{
    view.setCurrentRow(row);
    emit currentIndex(getIndex(view.item(row)));
}

QList<int> LayerWidget::getList() const
{
    QList<int> list;
    for (int row = 0; row < view.count(); ++row)
        list << getIndex(view.item(row));
    return list;
}

QPixmap LayerWidget::superFastBlur(QPixmap pixmap, int radius) const
{
    return ::superFastBlur(pixmap, radius);
}

QPixmap LayerWidget::thumbnail(const QPixmap& picture) const
{
    const int side = view.iconSize().width();
    const QImage blurred =
        superFastBlur(picture, 2).toImage().convertToFormat(QImage::Format_ARGB32);
    QImage small(side, side, QImage::Format_ARGB32);
    small.fill(Qt::transparent);
    for (int y = 0; y < side; ++y) {
        const int top = y * blurred.height() / side;
        const int bottom = qMax(top + 1, (y + 1) * blurred.height() / side);
        for (int x = 0; x < side; ++x) {
            const int left = x * blurred.width() / side;
            const int right = qMax(left + 1, (x + 1) * blurred.width() / side);
            QRgb most = 0;
            for (int v = top; v < bottom; ++v) {
                const QRgb* line = reinterpret_cast<const QRgb*>(blurred.constScanLine(v));
                for (int u = left; u < right; ++u)
                    if (qAlpha(line[u]) > qAlpha(most))
                        most = line[u];
            }
            small.setPixel(x, y, most);
        }
    }
    // The wheel's face stays light in any theme and against the selection colour.
    QPixmap icon(side, side);
    icon.fill(Qt::transparent);
    QPainter painter(&icon);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QColor(160, 160, 160));
    painter.setBrush(Qt::white);
    painter.drawEllipse(QRectF(0.5, 0.5, side - 1, side - 1));
    painter.drawImage(0, 0, small);
    painter.end();
    return icon;
}

void LayerWidget::setIcon(QPixmap pixmap, int index)
{
    QListWidgetItem* item = view.currentItem();
    if (index != -1) {
        for (int row = 0; row < view.count(); ++row) {
            if (getIndex(view.item(row)) == index) {
                item = view.item(row);
                break;
            }
        }
    }
    if (!item)
        return;
    const bool blocked = view.blockSignals(true);
    item->setIcon(QIcon(thumbnail(pixmap)));
    view.blockSignals(blocked);
}

void LayerWidget::selectAll()
{
    selectOrUnselctALl(Qt::Checked);
}

void LayerWidget::unselectAll()
{
    selectOrUnselctALl(Qt::Unchecked);
}

void LayerWidget::selectOrUnselctALl(Qt::CheckState state)
{
    QList<int> rows;
    for (int row = 0; row < view.count(); ++row)
        if (view.item(row)->checkState() != state)
            rows << row;
    if (!rows.isEmpty())
        stack->push(new LayerSelectAllCommand(&view, rows, state));
}

void LayerWidget::added()
{
    dragStartRow = view.currentRow();
}

void LayerWidget::removed()
{
    // The dragged row stays current, so its place tells where it went.
    if (view.currentRow() != dragStartRow)
        stack->push(new LayerMovedCommand(&view, this, dragStartRow, view.currentRow()));
}

void LayerWidget::itemChecked(QListWidgetItem* item)
{
    stack->push(new LayerSelectedCommand(&view, view.row(item), item->checkState()));
}

void LayerWidget::currentRowChanged(QListWidgetItem* current, QListWidgetItem* previous)
{
    if (current == previous || !current)
        return;
    if (previous)
        stack->push(new LayerEditedCommand(&view, this, view.row(previous), view.row(current)));
    emit currentIndex(getIndex(current));
}

void LayerWidget::toTransmit()
{
    QMap<int, int> rows;
    for (int row = 0; row < view.count(); ++row)
        if (view.item(row)->checkState() == Qt::Checked)
            rows.insert(row, getIndex(view.item(row)));
    if (!rows.isEmpty())
        emit toUpdate(rows);
}
