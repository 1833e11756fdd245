#ifndef LAYERWIDGET_H
#define LAYERWIDGET_H

#include "layerevent.h"
#include "layerview.h"

#include <QList>
#include <QMap>
#include <QWidget>

class QPushButton;
class QUndoStack;

// The layer list of a design: one row per picture slot. The current row is the picture being
// edited, the row order is the order of the pictures in the design file and in the wheel, and
// the ticked rows are the pictures to transmit. Every user action is one undo step.
class LayerWidget : public QWidget {
    Q_OBJECT
public:
    LayerWidget(QUndoStack* stack, int count, QWidget* parent = nullptr);
    ~LayerWidget() override;

    int getIndex(QListWidgetItem* item) const;
    void changeIndex(int row);
    QList<int> getList() const;
    QPixmap superFastBlur(QPixmap pixmap, int radius) const;
    // The row's picture of a slot: the blurred picture on a light disc, reduced so that each
    // thumbnail pixel shows the most covered pixel under it and a single stroke stays visible.
    QPixmap thumbnail(const QPixmap& picture) const;
    LayerView* getView() { return &view; }

public slots:
    void setIcon(QPixmap pixmap, int index = -1);

signals:
    void currentIndex(int index);
    void toUpdate(QMap<int, int> rows);

private slots:
    void selectAll();
    void unselectAll();
    void added();
    void removed();
    void itemChecked(QListWidgetItem* item);
    void currentRowChanged(QListWidgetItem* current, QListWidgetItem* previous);
    void toTransmit();

private:
    void selectOrUnselctALl(Qt::CheckState state);

    LayerView view;
    QUndoStack* stack;
    int dragStartRow = 0;
    LayerEvent watcher;
    QPushButton* transmitButton;
    QPushButton* selectAllButton;
    QPushButton* ignoreAllButton;
};

#endif
