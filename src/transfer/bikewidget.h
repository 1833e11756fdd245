#ifndef BIKEWIDGET_H
#define BIKEWIDGET_H

#include <QList>
#include <QPen>
#include <QPixmap>
#include <QPolygonF>
#include <QSvgRenderer>
#include <QWidget>

// A bike seen from the side, split into three areas for the usual places of the hall sensor:
// the upper half (area 1), the lower half (area 2) and the corner at the front wheel (area 3).
// Clicking an area asks for its preset angle.
class BikeWidget : public QWidget {
    Q_OBJECT
public:
    explicit BikeWidget(QWidget* parent = nullptr);

    QPixmap icon(int width);
    int getArea() const { return area; }
    // Without it the tab would give the picture no more room than the stand button needs.
    QSize sizeHint() const override { return picture.defaultSize(); }

signals:
    void valueChange(int value);

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QRectF pictureRect() const;
    void drawEdges(QPainter* painter, const QPolygonF& polygon, bool current);

    QSvgRenderer picture;
    int area = 0;
    QPen lightPen;
    QPen lightWidePen;
    QPen darkPen;
    QPen darkWidePen;
    bool mouseInside = false;
    bool buttonDown = false;
    QList<QPolygonF> areas;
};

#endif
