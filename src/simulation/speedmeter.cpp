#include "speedmeter.h"

#include "initsvg.h"
#include "model/superfastblur.h"

#include <QPainter>
#include <QSvgRenderer>

#include <cmath>

namespace {

// Lays a blurred copy under the sharp picture and paints the whole in one colour, keeping the
// combined alpha: the picture's shape with a soft halo.
QPixmap glow(const QPixmap& sharp, int radius, const QColor& color)
{
    QPixmap combined = superFastBlur(sharp, radius);
    QPainter painter(&combined);
    painter.drawPixmap(0, 0, sharp);
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(combined.rect(), color);
    return combined;
}

} // namespace

SpeedMeter::SpeedMeter(int mph, QWidget* parent)
    : QDial(parent)
{
    setRange(0, 250);
    setPageStep(1);
    setValue(mph * 10);
    creatBackgroud();
    creatArrow();
    createNumber();
}

void SpeedMeter::paintEvent(QPaintEvent*)
{
    const int v = value();
    const int kmh = int(v * 0.1609);
    const int s = qMin(width(), height());
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    painter.setPen(Qt::NoPen);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(QRect(int((width() - s) * 0.5), int((height() - s) * 0.5), s, s), face);
    painter.translate(width() * 0.5, height() * 0.5);
    const int a = int(s * 0.1), b = int(s * 0.05);
    painter.drawPixmap(QRect(int(s * -0.18), a, b, a), digits[kmh / 10]);
    painter.drawPixmap(QRect(int(s * -0.12), a, b, a), digits[kmh % 10]);
    painter.rotate(v * 1.2 + 30);
    painter.drawPixmap(QRect(-10, 0, 20, int(0.5 * s)), needle);
}

void SpeedMeter::creatBackgroud()
{
    QPixmap sharp(256, 256);
    sharp.fill(Qt::transparent);
    QPainter painter(&sharp);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::white, 8.0, Qt::DashDotLine));
    painter.drawArc(QRect(8, 8, 240, 240), -60 * 16, 300 * 16);
    QFont font("Arial");
    font.setBold(true);
    font.setPixelSize(30);
    painter.setFont(font);
    painter.translate(115.2, 135.68);
    for (int n = 0; n <= 25; n += 5) {
        const double angle = (120 + 12 * n) * 3.141593 / 180;
        painter.drawText(int(std::cos(angle) * 89.6), int(std::sin(angle) * 89.6),
                         QString::number(n));
    }
    // Smaller, and below the numbers 10 and 15 rather than into them.
    QFont label(font);
    label.setPixelSize(22);
    painter.setFont(label);
    painter.drawText(QRect(-40, -74, 80, 26), Qt::AlignHCenter | Qt::AlignBottom, "MPH");
    painter.setFont(font);
    painter.drawText(2, 38, "km/h");
    painter.end();
    face = glow(sharp, 16, Qt::magenta);
}

void SpeedMeter::creatArrow()
{
    const int length = int(face.width() * 0.5);
    QPixmap sharp(30, length);
    sharp.fill(Qt::transparent);
    QPainter painter(&sharp);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    const QPointF points[4] = {{10, 0}, {20, 0}, {17, 0.8 * length}, {13, 0.8 * length}};
    painter.drawPolygon(points, 4, Qt::OddEvenFill);
    painter.end();
    needle = glow(sharp, 4, Qt::yellow);
}

void SpeedMeter::createNumber()
{
    QSvgRenderer renderer(initSvg());
    const QSize size = renderer.defaultSize();
    QPixmap sharp(size);
    sharp.fill(Qt::transparent);
    QPainter painter(&sharp);
    painter.setViewport(renderer.viewBox());
    renderer.render(&painter);
    painter.end();
    const QPixmap strip = glow(sharp, 1, Qt::cyan);

    const int w = size.width() / 10 + 1;
    for (int k = 0; k < 10; ++k) {
        QPixmap digit(w, size.height());
        digit.fill(Qt::transparent);
        QPainter cell(&digit);
        cell.setRenderHint(QPainter::SmoothPixmapTransform);
        cell.drawPixmap(QRect(-w * k, 0, 10 * w, size.height()), strip);
        digits << digit;
    }
}
