#include "bikewidget.h"

#include "svgicon.h"

#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>

namespace {

// The preset angle of each area, area 1 first.
const int presets[] = {200, 135, 90};

const char* const bikeSvg = R"svg(<svg xmlns="http://www.w3.org/2000/svg" version="1.2"
 baseProfile="tiny" width="573" height="352" viewBox="0 0 573 352">
  <circle id="RearWheel" cx="128" cy="222" r="118" fill="none" stroke="#33373d"
   stroke-width="14"/>
  <circle id="FrontWheel" cx="445" cy="222" r="118" fill="none" stroke="#33373d"
   stroke-width="14"/>
  <path id="Frame" fill="none" stroke="#2f7fc1" stroke-width="11" stroke-linecap="round"
   stroke-linejoin="round"
   d="M128 222 L262 232 L236 104 Z M236 104 L392 96 M262 232 L404 136 M392 96 L404 136
      Q436 176 445 222 M236 104 L230 76 M204 70 Q232 62 262 70 M392 96 L386 68 L416 62
      Q432 60 430 78 M284 232 A22 22 0 1 0 240 232 A22 22 0 1 0 284 232 M262 232 L276 266
      M266 266 L288 266 M136 222 A8 8 0 1 0 120 222 A8 8 0 1 0 136 222
      M453 222 A8 8 0 1 0 437 222 A8 8 0 1 0 453 222"/>
</svg>)svg";

} // namespace

BikeWidget::BikeWidget(QWidget* parent)
    : QWidget(parent)
    , picture(QByteArray(bikeSvg))
    , lightPen(Qt::lightGray, 1)
    , lightWidePen(Qt::lightGray, 3)
    , darkPen(Qt::darkGray, 1)
    , darkWidePen(Qt::darkGray, 3)
{
    setMouseTracking(true);
}

QPixmap BikeWidget::icon(int width)
{
    return svgIcon(picture, width);
}

QRectF BikeWidget::pictureRect() const
{
    const QSizeF size = QSizeF(picture.defaultSize()).scaled(this->size(), Qt::KeepAspectRatio);
    QRectF rect(QPointF(), size);
    rect.moveCenter(QRectF(this->rect()).center());
    return rect;
}

void BikeWidget::paintEvent(QPaintEvent*)
{
    // The areas follow the drawn picture, whatever size the layout gives the widget.
    const QRectF rect = pictureRect();
    const qreal middle = rect.center().y();
    const QPointF leftMiddle(rect.left(), middle);
    const QPointF rightMiddle(rect.right(), middle);
    const QPointF inner(rect.right() - rect.height() / 2, middle);
    areas = {QPolygonF({rect.topLeft(), rect.topRight(), rightMiddle, leftMiddle}),
             QPolygonF({leftMiddle, rect.bottomLeft(), rect.bottomRight(), inner}),
             QPolygonF({inner, rect.bottomRight(), rightMiddle})};

    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    picture.render(&painter, rect);

    if (area != 0) {
        const QRectF bounds = areas[area - 1].boundingRect();
        QLinearGradient shade(bounds.topLeft(), bounds.bottomRight());
        // Half see-through, so the part of the bike under the darkest corner still shows.
        shade.setColorAt(0, QColor(0, 0, 0, 160));
        shade.setColorAt(0.8, Qt::transparent);
        painter.setPen(Qt::NoPen);
        painter.setBrush(shade);
        painter.drawPolygon(areas[area - 1]);
    }
    // The area under the mouse comes last, so its wide edges stay whole where areas meet.
    for (int i = 0; i < areas.size(); ++i)
        if (i + 1 != area)
            drawEdges(&painter, areas[i], false);
    if (area != 0)
        drawEdges(&painter, areas[area - 1], true);
}

// Each area is edged like a button: lit from the top left, and sunk in while pressed.
void BikeWidget::drawEdges(QPainter* painter, const QPolygonF& polygon, bool current)
{
    QPointF centre;
    for (const QPointF& corner : polygon)
        centre += corner / polygon.size();
    const bool sunken = current && buttonDown;
    for (int i = 0; i < polygon.size(); ++i) {
        const QPointF from = polygon[i];
        const QPointF to = polygon[(i + 1) % polygon.size()];
        QPointF outward(to.y() - from.y(), from.x() - to.x());
        if (QPointF::dotProduct(outward, (from + to) / 2 - centre) < 0)
            outward = -outward;
        const bool lit = (outward.x() + outward.y() < 0) != sunken;
        if (lit)
            painter->setPen(current ? lightWidePen : lightPen);
        else
            painter->setPen(current ? darkWidePen : darkPen);
        painter->drawLine(from, to);
    }
}

void BikeWidget::enterEvent(QEnterEvent*)
{
    mouseInside = true;
}

void BikeWidget::leaveEvent(QEvent*)
{
    mouseInside = false;
    area = 0;
    update();
}

void BikeWidget::mouseMoveEvent(QMouseEvent* event)
{
    if (!mouseInside)
        return;
    int found = 0;
    for (int i = 0; i < areas.size() && found == 0; ++i)
        if (areas[i].containsPoint(event->position(), Qt::WindingFill))
            found = i + 1;
    if (found != area) {
        area = found;
        update();
    }
}

void BikeWidget::mousePressEvent(QMouseEvent*)
{
    if (!mouseInside)
        return;
    buttonDown = true;
    update();
    if (area != 0)
        emit valueChange(presets[area - 1]);
}

void BikeWidget::mouseReleaseEvent(QMouseEvent*)
{
    buttonDown = false;
    update();
}
