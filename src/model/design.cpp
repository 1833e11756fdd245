#include "design.h"

#include "designfile.h"
#include "layereditedcommand.h"
#include "layermovedcommand.h"
#include "layerselectallcommand.h"
#include "layerselectedcommand.h"
#include "picturepatch.h"
#include "wheelcommand.h"

#include <QFileInfo>

Design::Design(int count, QSize pictureSize, QObject* parent)
    : QObject(parent)
    , pictureSize(pictureSize)
{
    // A design needs a picture to edit.
    count = qMax(count, 1);
    QImage empty(pictureSize, PicturePatch::format);
    empty.fill(Qt::transparent);
    for (int i = 0; i < count; ++i) {
        pictures << empty;
        order << i;
        ticked << true;
    }
    connect(&undoStack, &QUndoStack::cleanChanged, this,
            [this](bool clean) { emit modifiedChanged(!clean); });
    // Queued: the stack is still busy with the step that brought the index there.
    connect(&undoStack, &QUndoStack::indexChanged, this, &Design::dropForgottenSteps,
            Qt::QueuedConnection);
}

Design::~Design()
{
    // The steps change the design as they go; none may run on a half-destroyed one.
    disconnect(&undoStack, nullptr, this, nullptr);
}

QMap<int, QImage> Design::tickedPictures() const
{
    QMap<int, QImage> chosen;
    for (int row = 0; row < order.size(); ++row)
        if (ticked[order[row]])
            chosen.insert(row, pictures[order[row]]);
    return chosen;
}

void Design::setDisplayName(const QString& name)
{
    if (name == displayName)
        return;
    displayName = name;
    emit fileChanged();
}

bool Design::load(const QString& path, QString* error)
{
    DesignFile file(path);
    if (!file.read(getCount())) {
        *error = file.errorString();
        return false;
    }
    const QList<QImage> read = file.getPictures();
    for (int i = 0; i < read.size(); ++i)
        setPicture(i, read[i]);
    belongTo(path);
    return true;
}

bool Design::save(const QString& path, QString* error)
{
    QList<QImage> inOrder;
    for (int index : order)
        inOrder << pictures[index];
    DesignFile file(path);
    if (!file.write(inOrder, pictureSize)) {
        *error = file.errorString();
        return false;
    }
    undoStack.setClean();
    belongTo(path);
    return true;
}

void Design::belongTo(const QString& path)
{
    filePath = path;
    displayName = QFileInfo(path).baseName();
    emit fileChanged();
}

void Design::setPicture(int index, const QImage& picture)
{
    pictures[index] = picture.convertToFormat(PicturePatch::format);
    emit pictureChanged(index);
}

void Design::setCurrentRow(int row)
{
    currentIndex = order[row];
    emit currentChanged(currentIndex);
}

void Design::setRow(int from, int to)
{
    order.move(from, to);
    emit orderChanged();
}

void Design::setTicked(int row, bool on)
{
    ticked[order[row]] = on;
    emit tickChanged(row);
}

void Design::paste(const QImage& picture)
{
    replace(currentIndex, picture, "PASTE");
}

void Design::replace(int index, const QImage& picture, const QString& text)
{
    pushStep(new WheelCommand(this, index, pictures[index], picture, text));
}

void Design::paint(const QImage& picture, QPainter::CompositionMode mode, const QString& text)
{
    paintSlots({picture}, mode, text);
}

int Design::paintSlots(const QList<QImage>& layers, QPainter::CompositionMode mode,
                       const QString& text)
{
    const int first = getCurrentRow();
    const int placed = qMin(int(layers.size()), int(order.size()) - first);
    // The first slot's change carries the others, so they are undone and redone together.
    WheelCommand* step = nullptr;
    for (int i = 0; i < placed; ++i) {
        const int index = order[first + i];
        const QImage& before = pictures[index];
        QImage after = before.copy();
        QPainter painter(&after);
        painter.setCompositionMode(mode);
        painter.drawImage(after.rect(), layers[i], layers[i].rect());
        painter.end();
        auto* change = new WheelCommand(this, index, before, after, text, step);
        if (!step)
            step = change;
    }
    if (step)
        pushStep(step);
    return placed;
}

void Design::chooseRow(int row)
{
    const int current = getCurrentRow();
    if (row != current)
        undoStack.push(new LayerEditedCommand(this, current, row));
}

void Design::moveRow(int from, int to)
{
    if (from != to)
        undoStack.push(new LayerMovedCommand(this, from, to));
}

void Design::tick(int row, bool on)
{
    if (isTicked(row) != on)
        undoStack.push(new LayerSelectedCommand(this, row, on ? Qt::Checked : Qt::Unchecked));
}

void Design::tickAll(bool on)
{
    QList<int> rows;
    for (int row = 0; row < order.size(); ++row)
        if (isTicked(row) != on)
            rows << row;
    if (!rows.isEmpty())
        undoStack.push(new LayerSelectAllCommand(this, rows, on ? Qt::Checked : Qt::Unchecked));
}

qint64 Design::historyBytes() const
{
    qint64 total = 0;
    for (int i = undoStack.count() - 1; i >= 0 && !undoStack.command(i)->isObsolete(); --i)
        if (auto* step = dynamic_cast<const WheelCommand*>(undoStack.command(i)))
            total += step->cost();
    return total;
}

void Design::pushStep(WheelCommand* step)
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

void Design::dropForgottenSteps()
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
