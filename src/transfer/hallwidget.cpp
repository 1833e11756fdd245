#include "hallwidget.h"

#include "hallangle.h"

#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>
#include <QTimerEvent>

namespace {

const int animationStep = 60;
const int animationInterval = 20;

// Drawn around the centre: a tick every 5 degrees, a long one every 30. The labels sit where
// the needle points for their angle, so 0 is at the bottom and the numbers grow clockwise.
const char* const faceSvg = R"svg(<svg xmlns="http://www.w3.org/2000/svg"
 xmlns:xlink="http://www.w3.org/1999/xlink" version="1.2" baseProfile="tiny"
 width="473.58481" height="473.59064" viewBox="0 0 473.58481 473.59064">
  <defs>
    <radialGradient id="bezel" cx="0" cy="0" r="236" gradientUnits="userSpaceOnUse">
      <stop offset="0.86" stop-color="#8a9099"/>
      <stop offset="0.93" stop-color="#4b5058"/>
      <stop offset="1" stop-color="#23262b"/>
    </radialGradient>
    <radialGradient id="dial" cx="-60" cy="-80" r="300" gradientUnits="userSpaceOnUse">
      <stop offset="0" stop-color="#ffffff"/>
      <stop offset="1" stop-color="#d5dae1"/>
    </radialGradient>
    <radialGradient id="cap" cx="-6" cy="-6" r="26" gradientUnits="userSpaceOnUse">
      <stop offset="0" stop-color="#9aa0a8"/>
      <stop offset="1" stop-color="#2b2e33"/>
    </radialGradient>
    <line id="minor" x1="0" y1="196" x2="0" y2="206" stroke="#5b616a" stroke-width="1.5"/>
    <g id="minor4">
      <use xlink:href="#minor"/>
      <use xlink:href="#minor" transform="rotate(90)"/>
      <use xlink:href="#minor" transform="rotate(180)"/>
      <use xlink:href="#minor" transform="rotate(270)"/>
    </g>
    <g id="minor12">
      <use xlink:href="#minor4"/>
      <use xlink:href="#minor4" transform="rotate(30)"/>
      <use xlink:href="#minor4" transform="rotate(60)"/>
    </g>
    <g id="minor36">
      <use xlink:href="#minor12"/>
      <use xlink:href="#minor12" transform="rotate(10)"/>
      <use xlink:href="#minor12" transform="rotate(20)"/>
    </g>
    <line id="major" x1="0" y1="182" x2="0" y2="207" stroke="#1f2226" stroke-width="4"
     stroke-linecap="round"/>
    <g id="major4">
      <use xlink:href="#major"/>
      <use xlink:href="#major" transform="rotate(90)"/>
      <use xlink:href="#major" transform="rotate(180)"/>
      <use xlink:href="#major" transform="rotate(270)"/>
    </g>
  </defs>
  <g transform="translate(236.792405 236.79532)">
    <circle r="236.7" fill="url(#bezel)"/>
    <circle r="214" fill="url(#dial)" stroke="#1f2226" stroke-width="2"/>
    <use xlink:href="#minor36"/>
    <use xlink:href="#minor36" transform="rotate(5)"/>
    <use xlink:href="#major4"/>
    <use xlink:href="#major4" transform="rotate(30)"/>
    <use xlink:href="#major4" transform="rotate(60)"/>
    <g font-family="sans-serif" font-size="20" fill="#3a3f46" text-anchor="middle">
      <text x="-79" y="143.8">30</text>
      <text x="-136.8" y="86">60</text>
      <text x="-136.8" y="-72">120</text>
      <text x="-79" y="-129.8">150</text>
      <text x="79" y="-129.8">210</text>
      <text x="136.8" y="-72">240</text>
      <text x="136.8" y="86">300</text>
      <text x="79" y="143.8">330</text>
    </g>
    <g font-family="sans-serif" font-size="30" font-weight="bold" fill="#1f2226"
     text-anchor="middle">
      <text x="0" y="168.5">0</text>
      <text x="-152" y="10.5">90</text>
      <text x="0" y="-147.5">180</text>
      <text x="152" y="10.5">270</text>
    </g>
    <circle r="22" fill="url(#cap)"/>
  </g>
</svg>)svg";

} // namespace

HallWidget::HallWidget(QWidget* parent)
    : QDial(parent)
    , face(QByteArray(faceSvg))
{
    connect(&face, &QSvgRenderer::repaintNeeded, this, qOverload<>(&HallWidget::update));
    connect(this, &QDial::valueChanged, this, &HallWidget::setRealValue);
    setWrapping(true);
    setMaximum(360);
    toInit();
}

void HallWidget::toInit()
{
    setValue(HallAngle::stored());
    shownAngle = value();
    update();
}

void HallWidget::save()
{
    HallAngle::store(value());
    shownAngle = value();
    update();
    emit shift(value(), maximum());
}

void HallWidget::setRealValue(int value)
{
    if (value == shownAngle || animationTimer != 0)
        return;
    animationTimer = startTimer(animationInterval);
}

void HallWidget::timerEvent(QTimerEvent* event)
{
    // The slider's own key and mouse repeats come here too.
    if (event->timerId() != animationTimer) {
        QDial::timerEvent(event);
        return;
    }
    // Straight through the numbers, never across the 360/0 seam: the needle shows the way the
    // stored angle really changes.
    const int distance = value() - shownAngle;
    if (distance != 0) {
        if (qAbs(distance) >= animationStep)
            shownAngle += distance > 0 ? animationStep : -animationStep;
        else
            shownAngle = value();
        update();
    }
    if (shownAngle == value()) {
        killTimer(animationTimer);
        animationTimer = 0;
    }
}

void HallWidget::showEvent(QShowEvent* event)
{
    toInit();
    QDial::showEvent(event);
}

void HallWidget::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const int side = qMin(width(), height());
    face.render(&painter, QRectF((width() - side) / 2.0, (height() - side) / 2.0, side, side));

    painter.translate(width() / 2.0, height() / 2.0);
    painter.rotate(shownAngle * 360.0 / maximum());
    painter.setPen(Qt::NoPen);

    QLinearGradient needle(-5, 0, 5, 0);
    needle.setColorAt(0, Qt::transparent);
    needle.setColorAt(0.2, Qt::red);
    needle.setColorAt(0.3, Qt::white);
    needle.setColorAt(0.8, Qt::red);
    needle.setColorAt(1, Qt::transparent);
    painter.setBrush(needle);
    painter.drawRoundedRect(QRectF(-5, -10, 10, side * 0.5), 10, 10);

    QRadialGradient knob(-5, side * 0.3 + 10, 30);
    knob.setColorAt(0, Qt::white);
    knob.setColorAt(0.5, Qt::red);
    knob.setColorAt(1, Qt::transparent);
    painter.setBrush(knob);
    painter.drawEllipse(QRectF(-15, side * 0.3, 30, 30));
}
