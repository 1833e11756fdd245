#include "wheelcommand.h"

#include "design.h"

WheelCommand::WheelCommand(Design* design, int index, const QImage& before, const QImage& after,
                           const QString& key, QUndoCommand* parent)
    : QUndoCommand(key, parent)
    , design(design)
    , index(index)
    , pending(after)
{
    const QImage old = before.convertToFormat(PicturePatch::format);
    const QImage changed = after.convertToFormat(PicturePatch::format);
    if (old.size() == changed.size()) {
        const QRect rect = PicturePatch::changedRect(old, changed);
        this->before = PicturePatch(old, rect);
        this->after = PicturePatch(changed, rect);
    } else {
        this->before = PicturePatch(old, old.rect());
        this->after = PicturePatch(changed, changed.rect());
    }
}

void WheelCommand::redo()
{
    if (!pending.isNull()) {
        design->setPicture(index, pending);
        pending = QImage();
    } else {
        design->setPicture(index, after.applyTo(design->getPicture(index)));
    }
    QUndoCommand::redo();
}

void WheelCommand::undo()
{
    if (isObsolete())
        return;
    QUndoCommand::undo();
    design->setPicture(index, before.applyTo(design->getPicture(index)));
}

qsizetype WheelCommand::cost() const
{
    qsizetype total = qsizetype(sizeof(*this)) + before.cost() + after.cost();
    for (int i = 0; i < childCount(); ++i)
        total += static_cast<const WheelCommand*>(child(i))->cost();
    return total;
}

void WheelCommand::forget()
{
    before = PicturePatch();
    after = PicturePatch();
    pending = QImage();
    // The children are ours, though QUndoCommand hands them out read-only.
    for (int i = 0; i < childCount(); ++i)
        const_cast<WheelCommand*>(static_cast<const WheelCommand*>(child(i)))->forget();
    setObsolete(true);
}
