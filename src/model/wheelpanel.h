#ifndef WHEELPANEL_H
#define WHEELPANEL_H

#include <QGraphicsView>
#include <QList>
#include <QPixmap>
#include <QStringList>

class Design;
class QGraphicsPixmapItem;
class SlotPlayer;
class WheelWeb;

// The view of a design: its current picture under the LED grid and the arrangement lines. It
// follows the design's signals and takes picture files dropped on it. The neighbouring slots
// can show faintly under the picture, and a player can show other slots in its place for a
// while. Ctrl+wheel zooms about the pointer; the middle button, or the left with Space held,
// pans the view and never draws.
class WheelPanel : public QGraphicsView {
    Q_OBJECT
public:
    // One step of the zoom commands and of the mouse wheel.
    static constexpr double zoomStep = 1.25;
    // From a wheel a few dozen pixels wide to a cell of the largest grid filling the view.
    static constexpr double minZoom = 0.05;
    static constexpr double maxZoom = 64;

    WheelPanel(Design* design, const WheelWeb& web, const QPixmap& background);
    ~WheelPanel() override;

    Design* getDesign() const { return design; }
    // The picture on screen: the current one, or the one being played.
    int getShownIndex() const { return shownIndex; }
    double getZoom() const { return transform().m11(); }
    // Shows what the player plays, and stops it on Escape or a press in the view.
    void follow(SlotPlayer* player);

public slots:
    void setBackground(QPixmap pix);
    // The previous slot's picture under the current one, and the next one's too.
    void setOnionSkin(bool previous, bool next);
    // Steps of zoomStep, in when positive; the scene point at the viewport point stays there,
    // at the viewport's centre unless told.
    void zoomBy(int steps, QPointF at);
    void zoomBy(int steps);
    void setZoom(double zoom);
    // Space is down; a left press pans then.
    void setPanKey(bool down);

signals:
    // Picture files were dropped on the design.
    void import(QStringList paths);
    // The grid cell under the pointer, -1 when it is over none.
    void pointerCell(int cell);
    void zoomChanged(double zoom);
    void stopPlaying();

protected:
    bool event(QEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private slots:
    void showPicture(int index);
    void showPlayed(int index);
    void showShown();
    void showOnion();

private:
    void addItem(QGraphicsItem* item, double z);
    // Tab goes through the stops of a tool's panel on the scene and then on to the window's
    // next widget; the scene alone would keep it going round the panel, which holds the focus
    // like a window.
    void tabThrough(QWidget* panel, bool next);

    Design* design;
    const WheelWeb& web;
    QGraphicsPixmapItem* backgroundItem;
    QList<QGraphicsPixmapItem*> pictures;
    // The previous and the next slot, tinted.
    QGraphicsPixmapItem* onion[2];
    bool onionWanted[2] = {false, false};
    int shownIndex;
    int playedIndex = -1;
    bool panKey = false;
    bool panning = false;
    QPoint panFrom;
    int wheelAngle = 0;
};

#endif
