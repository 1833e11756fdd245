#ifndef WHEELCOMMAND_H
#define WHEELCOMMAND_H

#include "picturepatch.h"

#include <QImage>
#include <QUndoCommand>

class Design;

// One change of one picture of a design, named by the key of its text. Only the rectangle that
// changed is kept, before and after, so a long history of strokes stays small. Changes of
// further pictures made in the same step are its children.
class WheelCommand : public QUndoCommand {
public:
    WheelCommand(Design* design, int index, const QImage& before, const QImage& after,
                 const QString& key, QUndoCommand* parent = nullptr);

    void undo() override;
    void redo() override;

    // Bytes the step holds, with its children.
    qsizetype cost() const;
    // Drops what the step holds; it can no longer be undone and leaves the history.
    void forget();

private:
    Design* design;
    int index;
    PicturePatch before;
    PicturePatch after;
    // The whole picture after the change, until the first redo has put it in place.
    QImage pending;
};

#endif
