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
    if (old.size() != changed.size()) {
        this->before << PicturePatch(old, old.rect());
        this->after << PicturePatch(changed, changed.rect());
        return;
    }
    // Neighbouring changed tiles of a row go into one patch, so that a change of the whole
    // picture is a patch per row of tiles.
    const auto keep = [&](const QRect& rect) {
        if (rect.isEmpty())
            return;
        this->before << PicturePatch(old, rect);
        this->after << PicturePatch(changed, rect);
    };
    for (int y = 0; y < old.height(); y += tileSide) {
        QRect run;
        for (int x = 0; x < old.width(); x += tileSide) {
            const QRect tile = QRect(x, y, tileSide, tileSide) & old.rect();
            const QRect rect = PicturePatch::changedRect(old, changed, tile);
            if (rect.isEmpty()) {
                keep(run);
                run = QRect();
            } else {
                run |= rect;
            }
        }
        keep(run);
    }
}

QImage WheelCommand::applied(const QList<PicturePatch>& patches, QImage picture)
{
    for (const PicturePatch& patch : patches)
        picture = patch.applyTo(std::move(picture));
    return picture;
}

void WheelCommand::redo()
{
    if (!pending.isNull()) {
        design->setPicture(index, pending);
        pending = QImage();
    } else {
        design->setPicture(index, applied(after, design->getPicture(index)));
    }
    QUndoCommand::redo();
}

void WheelCommand::undo()
{
    if (isObsolete())
        return;
    QUndoCommand::undo();
    design->setPicture(index, applied(before, design->getPicture(index)));
}

qsizetype WheelCommand::cost() const
{
    qsizetype total = qsizetype(sizeof(*this));
    for (const QList<PicturePatch>* patches : {&before, &after})
        for (const PicturePatch& patch : *patches)
            total += qsizetype(sizeof(patch)) + patch.cost();
    for (int i = 0; i < childCount(); ++i)
        total += static_cast<const WheelCommand*>(child(i))->cost();
    return total;
}

void WheelCommand::forget()
{
    before.clear();
    after.clear();
    pending = QImage();
    // The children are ours, though QUndoCommand hands them out read-only.
    for (int i = 0; i < childCount(); ++i)
        const_cast<WheelCommand*>(static_cast<const WheelCommand*>(child(i)))->forget();
    setObsolete(true);
}
