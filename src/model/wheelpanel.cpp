#include "wheelpanel.h"

#include "layerwidget.h"
#include "wheelcommand.h"

#include <QDragEnterEvent>
#include <QFileInfo>
#include <QGraphicsBlurEffect>
#include <QGraphicsPixmapItem>
#include <QGraphicsScene>
#include <QImageReader>
#include <QImageWriter>
#include <QMimeData>
#include <QSaveFile>

#include <limits>

WheelPanel::WheelPanel(QPixmap overlay, QPixmap background, int count, QString path)
{
    // A design needs a picture to edit.
    count = qMax(count, 1);
    setScene(new QGraphicsScene(this));
    // A picture of the wheel, drawn for a light ground: the grid and the ink look the same in
    // a dark desktop theme.
    setBackgroundBrush(Qt::white);
    backgroundItem = new QGraphicsPixmapItem(background);
    layerList = new LayerWidget(&undoStack, count);

    const QSize size = background.size();
    addItem(new QGraphicsPixmapItem(
                overlay.scaled(size, Qt::IgnoreAspectRatio, Qt::FastTransformation)),
            0);
    auto* blur = new QGraphicsBlurEffect;
    blur->setBlurHints(QGraphicsBlurEffect::QualityHint);
    blur->setBlurRadius(5.0);
    backgroundItem->setGraphicsEffect(blur);
    addItem(backgroundItem, std::numeric_limits<double>::min());
    connect(layerList, &LayerWidget::currentIndex, this, &WheelPanel::changeIndex);

    for (int i = 0; i < count; ++i) {
        QPixmap empty(size);
        empty.fill(Qt::transparent);
        auto* item = new QGraphicsPixmapItem(empty);
        item->hide();
        addItem(item, -(i + 1));
        pictures.append(item);
    }
    pictures[currentIndex]->show();

    connect(layerList, &LayerWidget::toUpdate, this, &WheelPanel::toTransmits);
    // Queued: the stack is still busy with the step that brought the index there.
    connect(&undoStack, &QUndoStack::indexChanged, this, &WheelPanel::dropForgottenSteps,
            Qt::QueuedConnection);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    if (QFileInfo::exists(path))
        unreadable = !load(path);
}

WheelPanel::~WheelPanel()
{
    delete layerList;
}

LayerWidget* WheelPanel::getLayerWidget() const
{
    return layerList;
}

void WheelPanel::addItem(QGraphicsItem* item, double z)
{
    item->setEnabled(false);
    item->setZValue(z);
    item->setFiltersChildEvents(true);
    if (auto* pixmapItem = dynamic_cast<QGraphicsPixmapItem*>(item))
        pixmapItem->setShapeMode(QGraphicsPixmapItem::BoundingRectShape);
    scene()->addItem(item);
}

bool WheelPanel::load(const QString& path)
{
    QList<QImage> read;
    if (!readDesign(path, int(pictures.size()), &read))
        return false;
    for (int i = 0; i < read.size(); ++i)
        setPixmap(QPixmap::fromImage(read[i]), i);
    return true;
}

bool WheelPanel::readDesign(const QString& path, int count, QList<QImage>* read)
{
    QImageReader reader(path, "png");
    QImage image;
    // The reader refuses pictures beyond its allocation limit before decoding them.
    if (!reader.read(&image))
        return false;
    const int side = image.height();
    if (side < 1)
        return false;
    const int n = qMin(count, image.width() / side);
    read->clear();
    for (int i = 0; i < n; ++i) {
        QImage picture(side, side, QImage::Format_ARGB32_Premultiplied);
        picture.fill(Qt::transparent);
        QPainter painter(&picture);
        painter.drawImage(-i * side, 0, image);
        painter.end();
        read->append(picture);
    }
    return true;
}

void WheelPanel::setPixmap(QPixmap pixmap, int index)
{
    pictures[index]->setPixmap(pixmap);
    if (layerList)
        layerList->setIcon(pixmap, index);
}

QPixmap WheelPanel::getPixmap() const
{
    return pictures[currentIndex]->pixmap().copy();
}

QPixmap WheelPanel::getPixmap(int index) const
{
    return pictures[index]->pixmap();
}

void WheelPanel::paste(QPixmap pixmap)
{
    pushStep(
        new WheelCommand(this, currentIndex, pictures[currentIndex]->pixmap(), pixmap, "PASTE"));
}

qint64 WheelPanel::historyBytes() const
{
    qint64 total = 0;
    for (int i = undoStack.count() - 1; i >= 0 && !undoStack.command(i)->isObsolete(); --i)
        if (auto* step = dynamic_cast<const WheelCommand*>(undoStack.command(i)))
            total += step->cost();
    return total;
}

void WheelPanel::pushStep(WheelCommand* step)
{
    undoStack.push(step);
    // Newest first: the step that crosses the budget and every one below it are forgotten.
    // The stack only lets go of obsolete steps when the index passes them; until then they
    // hold no pictures.
    qint64 total = 0;
    for (int i = undoStack.count() - 1; i >= 0; --i) {
        auto* command = const_cast<QUndoCommand*>(undoStack.command(i));
        if (command->isObsolete())
            return;
        auto* change = dynamic_cast<WheelCommand*>(command);
        if (change)
            total += change->cost();
        if (total <= historyBudget)
            continue;
        for (int j = i; j >= 0 && !undoStack.command(j)->isObsolete(); --j) {
            command = const_cast<QUndoCommand*>(undoStack.command(j));
            if ((change = dynamic_cast<WheelCommand*>(command)))
                change->forget();
            else
                command->setObsolete(true);
        }
        return;
    }
}

void WheelPanel::dropForgottenSteps()
{
    const int boundary = undoStack.index();
    if (boundary == 0 || !undoStack.command(boundary - 1)->isObsolete())
        return;
    // Undoing an obsolete step removes it unapplied, so the oldest kept step becomes the
    // bottom of the history and Undo ends there.
    const int clean = undoStack.cleanIndex();
    while (undoStack.index() > 0)
        undoStack.undo();
    if (clean == boundary)
        undoStack.setClean();
    else if (clean != -1 && clean < boundary)
        undoStack.resetClean(); // the saved state was forgotten
}

void WheelPanel::setBackground(QPixmap pix)
{
    backgroundItem->setPixmap(pix);
}

void WheelPanel::setLayer(QPixmap pix, QPainter::CompositionMode mode, QString text)
{
    setLayers({pix}, mode, text);
}

int WheelPanel::setLayers(QList<QPixmap> pixes, QPainter::CompositionMode mode, QString text)
{
    // Slots are rows of the layer list, whatever pictures were moved into them.
    const QList<int> order = layerList ? layerList->getList() : QList<int>{currentIndex};
    const int first = int(order.indexOf(currentIndex));
    const int placed = qMin(int(pixes.size()), int(order.size()) - first);
    // The first slot's change carries the others, so they are undone and redone together.
    WheelCommand* step = nullptr;
    for (int i = 0; i < placed; ++i) {
        const int index = order[first + i];
        const QPixmap before = pictures[index]->pixmap();
        QPixmap after = before.copy();
        QPainter painter(&after);
        painter.setCompositionMode(mode);
        painter.drawPixmap(after.rect(), pixes[i], pixes[i].rect());
        painter.end();
        auto* change = new WheelCommand(this, index, before, after, text, step);
        if (!step)
            step = change;
    }
    if (step)
        pushStep(step);
    return placed;
}

void WheelPanel::changeIndex(int row)
{
    pictures[currentIndex]->hide();
    pictures[row]->show();
    currentIndex = row;
}

void WheelPanel::toTransmits(QMap<int, int> map)
{
    QMap<int, QPixmap> chosen;
    for (auto it = map.cbegin(); it != map.cend(); ++it)
        chosen.insert(it.key(), pictures[it.value()]->pixmap().copy());
    if (!chosen.isEmpty())
        emit toUpdate(chosen);
}

bool WheelPanel::save(QString path)
{
    const int w = backgroundItem->pixmap().width();
    const int h = backgroundItem->pixmap().height();
    const QList<int> order = layerList->getList();
    QImage image(int(order.size()) * w, h, QImage::Format_ARGB32);
    image.fill(0);
    QPainter painter(&image);
    // A picture loaded from a file of another height is larger than its square; what lies
    // beyond the square must not spill into the next slot's.
    for (int row = 0; row < order.size(); ++row)
        painter.drawPixmap(QPoint(row * w, 0), pictures[order[row]]->pixmap(), QRect(0, 0, w, h));
    painter.end();

    // Written beside the old file and put in its place only when complete, so a failed save
    // leaves the previous design intact.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QImageWriter writer(&file, "png");
    // Qt's commit does not notice when its own last write fails (a full disk), so the data
    // is flushed first.
    if (!writer.write(image) || !file.flush() || !file.commit())
        return false;
    undoStack.setClean();
    return true;
}

void WheelPanel::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasFormat("text/uri-list"))
        event->acceptProposedAction();
    else
        event->ignore();
}

void WheelPanel::dragMoveEvent(QDragMoveEvent*) {}

void WheelPanel::dropEvent(QDropEvent* event)
{
    QStringList paths;
    for (const QUrl& url : event->mimeData()->urls())
        if (!url.toLocalFile().isEmpty())
            paths << url.toLocalFile();
    if (!paths.isEmpty())
        emit import(paths);
}
