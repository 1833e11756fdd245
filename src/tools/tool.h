#ifndef TOOL_H
#define TOOL_H

#include "cellpainter.h"

#include <QBrush>
#include <QImage>
#include <QObject>
#include <QPixmap>
#include <QPointer>
#include <QPointF>

class QGraphicsPixmapItem;
class QGraphicsScene;
class QGraphicsView;
class QPainter;
class WheelWeb;

// A drawing tool working on one design view: it paints whole grid cells, with their repeats
// around the wheel, into a scratch picture of the grid's size, shows a preview on the view's
// scene, and hands a finished picture on (upDate) before asking to be replaced (end).
class Tool : public QObject {
    Q_OBJECT
public:
    Tool(WheelWeb* web, QGraphicsView* view, QBrush brush, int div);
    explicit Tool(Tool* other);
    ~Tool() override = 0;

    virtual void hide() = 0;
    virtual QString getText() = 0;
    virtual void update() = 0;

    void setTempPixmap(QPixmap pixmap);
    void setBrush(QBrush brush) { this->brush = brush; }
    int getDiv() const { return div; }
    QGraphicsView* getView() const;
    void setDiv(int div) { this->div = div; }
    // How this tool paints cells: in its brush, with its repeats.
    CellPainter cellPainter() const;

signals:
    void upDate(QPixmap pixmap);
    void end();

protected:
    void init();
    // The scene of the view, or null once the view is gone (a replaced tool outlives its view
    // for the 10 ms until its deletion).
    QGraphicsScene* scene() const;

    QGraphicsPixmapItem* previewItem = nullptr;
    QPointer<QGraphicsView> view;
    WheelWeb* web;
    QBrush brush;
    int div;
};

#endif
