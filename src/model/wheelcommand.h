#ifndef WHEELCOMMAND_H
#define WHEELCOMMAND_H

#include "picturepatch.h"

#include <QImage>
#include <QList>
#include <QUndoCommand>

class Design;

// One change of one picture of a design, named by the key of its text. Only what changed is
// kept, before and after, as rectangles round the changes in the tiles of the picture they
// reached: a stroke and its repeats lie round the wheel, and one rectangle round them all
// would hold most of the picture. So a long history of strokes stays small. Changes of further
// pictures made in the same step are its children.
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
    static QImage applied(const QList<PicturePatch>& patches, QImage picture);

    Design* design;
    int index;
    static constexpr int tileSide = 64;

    QList<PicturePatch> before;
    QList<PicturePatch> after;
    // The whole picture after the change, until the first redo has put it in place.
    QImage pending;
};

#endif
