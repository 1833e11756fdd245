#include "wheelcommand.h"

#include "resources/resource.h"
#include "wheelpanel.h"

WheelCommand::WheelCommand(WheelPanel* panel, int index, QPixmap before, QPixmap after,
                           QString text)
    : panel(panel)
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
    print();
}

void WheelCommand::undo()
{
    if (isObsolete())
        return;
    panel->setPixmap(QPixmap::fromImage(before.applyTo(panel->getPixmap(index).toImage())), index);
}

qsizetype WheelCommand::cost() const
{
    return qsizetype(sizeof(*this)) + before.cost() + after.cost();
}

void WheelCommand::forget()
{
    before = PicturePatch();
    after = PicturePatch();
    pending = QPixmap();
    setObsolete(true);
}

void WheelCommand::print()
{
    setText(Resource::getText(text));
}
