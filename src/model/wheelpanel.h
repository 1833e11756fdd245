#ifndef WHEELPANEL_H
#define WHEELPANEL_H

#include <QGraphicsView>
#include <QList>
#include <QPixmap>
#include <QStringList>

class Design;
class QGraphicsPixmapItem;
class WheelWeb;

// The view of a design: its current picture under the LED grid and the arrangement lines. It
// follows the design's signals and takes picture files dropped on it.
class WheelPanel : public QGraphicsView {
    Q_OBJECT
public:
    WheelPanel(Design* design, const WheelWeb& web, const QPixmap& background);
    ~WheelPanel() override;

    Design* getDesign() const { return design; }

public slots:
    void setBackground(QPixmap pix);

signals:
    // Picture files were dropped on the design.
    void import(QStringList paths);

protected:
    bool event(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private slots:
    void changeIndex(int index);
    void showPicture(int index);

private:
    void addItem(QGraphicsItem* item, double z);
    // Tab goes through the stops of a tool's panel on the scene and then on to the window's
    // next widget; the scene alone would keep it going round the panel, which holds the focus
    // like a window.
    void tabThrough(QWidget* panel, bool next);

    Design* design;
    QGraphicsPixmapItem* backgroundItem;
    QList<QGraphicsPixmapItem*> pictures;
    int shownIndex;
};

#endif
