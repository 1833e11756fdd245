#ifndef DESIGN_H
#define DESIGN_H

#include <QImage>
#include <QList>
#include <QMap>
#include <QObject>
#include <QPainter>
#include <QString>
#include <QUndoStack>

class WheelCommand;

// One design: a fixed number of square pictures of the wheel face, the order of their slots,
// which of them go to the wheel, the picture being edited, the file it belongs to and its
// history. Every change the user makes is one step on the undo stack; the design is modified
// exactly while that stack is not clean. Views follow its signals.
//
// A picture keeps its index for the design's life; a slot (a row of the layer list) is a place
// in the order, and holds whichever picture was moved there.
class Design : public QObject {
    Q_OBJECT
public:
    Design(int count, QSize pictureSize, QObject* parent = nullptr);
    ~Design() override;

    int getCount() const { return int(pictures.size()); }
    QSize getPictureSize() const { return pictureSize; }
    QImage getPicture(int index) const { return pictures[index]; }
    // The picture being edited.
    QImage getPicture() const { return pictures[currentIndex]; }
    int getCurrentIndex() const { return currentIndex; }
    int getCurrentRow() const { return int(order.indexOf(currentIndex)); }
    // The picture of every slot, from the first slot on.
    QList<int> getList() const { return order; }
    bool isTicked(int row) const { return ticked[order[row]]; }
    // The ticked slots and the pictures in them, slot -> picture.
    QMap<int, QImage> tickedPictures() const;

    QString getFilePath() const { return filePath; }
    QString getDisplayName() const { return displayName; }
    void setDisplayName(const QString& name);
    QUndoStack* getUndoStack() { return &undoStack; }
    bool isModified() const { return !undoStack.isClean(); }

    // Reads a design file into a design that has no history yet; why it failed otherwise.
    bool load(const QString& path, QString* error);
    // Writes the design file; on success the design belongs to that file and is clean. A
    // failed write leaves the design modified, and the old file as it was.
    bool save(const QString& path, QString* error);
    // The design is the file's now, and named after it.
    void belongTo(const QString& path);

    // The user's edits, one undo step each.
    void paste(const QImage& picture);
    // Puts a picture in place of one of the design's, named by a key.
    void replace(int index, const QImage& picture, const QString& text);
    void paint(const QImage& picture, QPainter::CompositionMode mode, const QString& text);
    // Paints the pictures over those of consecutive slots from the current one on, as one
    // step; returns how many found a slot.
    int paintSlots(const QList<QImage>& layers, QPainter::CompositionMode mode,
                   const QString& text);
    void chooseRow(int row);
    void moveRow(int from, int to);
    void tick(int row, bool on);
    // Ticks or unticks every slot; nothing when all are so already.
    void tickAll(bool on);

    // Bytes the picture steps of the history hold. Beyond historyBudget the oldest steps are
    // forgotten, so a long session cannot exhaust memory.
    qint64 historyBytes() const;
    static constexpr qint64 historyBudget = 64 * 1024 * 1024;

    // What the undo commands change; no step of their own.
    void setPicture(int index, const QImage& picture);
    void setCurrentRow(int row);
    void setRow(int from, int to);
    void setTicked(int row, bool on);

signals:
    void pictureChanged(int index);
    void currentChanged(int index);
    void orderChanged();
    void tickChanged(int row);
    void fileChanged();
    void modifiedChanged(bool modified);

private:
    void pushStep(WheelCommand* step);
    void dropForgottenSteps();

    QUndoStack undoStack;
    QSize pictureSize;
    QList<QImage> pictures;
    QList<int> order;
    // By picture: a tick goes with its picture when the slots are reordered.
    QList<bool> ticked;
    int currentIndex = 0;
    QString filePath;
    QString displayName;
};

#endif
