#ifndef WHEELCOMMAND_H
#define WHEELCOMMAND_H

#include "picturepatch.h"

#include <QPixmap>
#include <QUndoCommand>

class WheelPanel;

// One change of one picture of a design, and the key that names the change in the undo menu.
// Only the rectangle that changed is kept, before and after, so a long history of strokes stays
// small. Changes of further pictures made in the same step are its children.
class WheelCommand : public QUndoCommand {
public:
    WheelCommand(WheelPanel* panel, int index, QPixmap before, QPixmap after, QString text,
                 QUndoCommand* parent = nullptr);

    void undo() override;
    void redo() override;

    // Bytes the step holds, with its children.
    qsizetype cost() const;
    // Drops what the step holds; it can no longer be undone and leaves the history.
    void forget();

private:
    void print();

    WheelPanel* panel;
    int index;
    PicturePatch before;
    PicturePatch after;
    // The whole picture after the change, until the first redo has put it in place.
    QPixmap pending;
    QString text;
};

#endif
