#ifndef PENLABEL_H
#define PENLABEL_H

#include <QPointF>
#include <QWidget>

class WheelWeb;

// The pen's invisible picking widget over the whole picture: it turns pointer positions into
// cells. A drag enters every cell along the way between two pointer events, however far apart
// a quick movement reports them.
class PenLabel : public QWidget {
    Q_OBJECT
public:
    explicit PenLabel(const WheelWeb& web);

    // The pointer entered a cell (-1: none).
    void enter(int cell);

signals:
    void click(int index);
    void toEnd();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    const WheelWeb& web;
    bool pressed = false;
    // Where the pointer was at the last event of the stroke.
    QPointF lastPoint;
    int lastCell = -1;
};

#endif
