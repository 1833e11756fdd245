#include "wheelcommand.h"

#include "resources/resource.h"
#include "wheelpanel.h"

WheelCommand::WheelCommand(WheelPanel* panel, int index, QPixmap before, QPixmap after,
                           QString text, QUndoCommand* parent)
    : QUndoCommand(parent)
    , panel(panel)
    , index(index)
    , pending(after)
    , text(text)
{
    const QImage old = before.toImage().convertToFormat(PicturePatch::format);
    const QImage changed = after.toImage().convertToFormat(PicturePatch::format);
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
        panel->setPixmap(pending, index);
        pending = QPixmap();
    } else {
        panel->setPixmap(QPixmap::fromImage(after.applyTo(panel->getPixmap(index).toImage())),
                         index);
    }
    QUndoCommand::redo();
    print();
}

void WheelCommand::undo()
{
    if (isObsolete())
        return;
    QUndoCommand::undo();
    panel->setPixmap(QPixmap::fromImage(before.applyTo(panel->getPixmap(index).toImage())), index);
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
    pending = QPixmap();
    // The children are ours, though QUndoCommand hands them out read-only.
    for (int i = 0; i < childCount(); ++i)
        const_cast<WheelCommand*>(static_cast<const WheelCommand*>(child(i)))->forget();
    setObsolete(true);
}

void WheelCommand::print()
{
    setText(Resource::getText(text));
}
