#ifndef WHEELPANEL_H
#define WHEELPANEL_H

#include <QGraphicsView>
#include <QList>
#include <QMap>
#include <QPainter>
#include <QPixmap>
#include <QPointer>
#include <QStringList>
#include <QUndoStack>

class LayerWidget;
class WheelCommand;
class QGraphicsPixmapItem;

// One open design: a fixed number of square pictures of the wheel face, one edited at a time
// under the LED grid and the arrangement lines. Every change of a picture is one step on the
// design's undo stack; the design is modified exactly while that stack is not clean.
class WheelPanel : public QGraphicsView {
    Q_OBJECT
public:
    WheelPanel(QPixmap overlay, QPixmap background, int count, QString path);
    ~WheelPanel() override;

    void setPixmap(QPixmap pixmap, int index);
    QPixmap getPixmap() const;
    // The picture in a slot, as it stands.
    QPixmap getPixmap(int index) const;
    void paste(QPixmap pixmap);
    // Writes the design file; false, and the design stays modified, when that failed.
    bool save(QString path);
    // A file stood at the path but could not be read as a design.
    bool readFailed() const { return unreadable; }
    // The first count pictures of a design file, side by side in one PNG as save writes them;
    // false when the file is no such picture.
    static bool readDesign(const QString& path, int count, QList<QImage>* pictures);

    QUndoStack* getUndoStack() { return &undoStack; }
    // Bytes the picture steps of the history hold. Beyond historyBudget the oldest steps are
    // forgotten, so a long session cannot exhaust memory.
    qint64 historyBytes() const;
    static constexpr qint64 historyBudget = 64 * 1024 * 1024;
    LayerWidget* getLayerWidget() const;
    int getCount() const { return int(pictures.size()); }
    int getCurrentIndex() const { return currentIndex; }

public slots:
    void setBackground(QPixmap pix);
    void setLayer(QPixmap pix, QPainter::CompositionMode mode, QString text);
    // Paints the pictures over those of consecutive slots from the current one on, as one step;
    // returns how many found a slot.
    int setLayers(QList<QPixmap> pixes, QPainter::CompositionMode mode, QString text);

signals:
    void toUpdate(QMap<int, QPixmap> pictures);
    // Picture files were dropped on the design.
    void import(QStringList paths);

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private slots:
    void changeIndex(int row);
    void toTransmits(QMap<int, int> map);
    void dropForgottenSteps();

private:
    void addItem(QGraphicsItem* item, double z);
    bool load(const QString& path);
    void pushStep(WheelCommand* step);

    QUndoStack undoStack;
    QGraphicsPixmapItem* backgroundItem;
    // Shown in the main window's layer dock, which may destroy it first.
    QPointer<LayerWidget> layerList;
    QList<QGraphicsPixmapItem*> pictures;
    int currentIndex = 0;
    bool unreadable = false;
};

#endif
