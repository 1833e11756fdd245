#ifndef PENLABEL_H
#define PENLABEL_H

#include <QColor>
#include <QImage>
#include <QList>
#include <QPolygonF>
#include <QWidget>

// The pen's invisible picking widget over the whole picture: every cell is filled in a
// picking image with a colour that encodes its list position, so one pixel read turns a
// pointer position into a cell. A drag enters every cell along the way between two pointer
// events, however far apart a quick movement reports them.
class PenLabel : public QWidget {
    Q_OBJECT
public:
    PenLabel(QSize size, QList<QPolygonF> const* polygons);

    void updateItem(QPoint p);
    static QColor toColor(unsigned int code);

signals:
    void click(int index);
    void toEnd();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    bool pressed = false;
    // Where the pointer was at the last event of the stroke.
    QPointF lastPoint;
    QImage picking;
    unsigned int noneCode;
    unsigned int lastCode;
};

#endif
