#include "colorpanel.h"

#include <QMouseEvent>

ColorPanel::ColorPanel()
    : foreground(Qt::blue)
    , background(Qt::white)
    , checker(16, 16)
{
    addColor(Qt::blue, QBrush(QColor(Qt::blue).lighter(150), Qt::SolidPattern),
             QPainter::CompositionMode_SourceOver);

    // Erasing previews as a cross-hatched grey.
    QPixmap eraser(8, 8);
    eraser.fill(QColor(Qt::white).darker(200));
    QPainter tile(&eraser);
    tile.drawLine(0, 0, 8, 8);
    tile.drawLine(0, 8, 8, 0);
    tile.end();
    addColor(Qt::white, QBrush(eraser), QPainter::CompositionMode_DestinationOut);

    checker.fill(Qt::lightGray);
    QPainter painter(&checker);
    const int halfWidth = int(checker.width() * 0.5);
    const int halfHeight = int(checker.height() * 0.5);
    painter.fillRect(0, 0, halfWidth, halfHeight, Qt::darkGray);
    painter.fillRect(halfWidth, halfHeight, halfWidth, halfHeight, Qt::darkGray);
}

ColorPanel::~ColorPanel()
{
    qDeleteAll(states);
}

void ColorPanel::addColor(QColor color, QBrush brush, QPainter::CompositionMode mode)
{
    delete states.value(color.rgba());
    states.insert(color.rgba(), new ColorState(brush, mode));
}

QBrush ColorPanel::getBrush() const
{
    return states.value(foreground.rgba())->brush;
}

QPainter::CompositionMode ColorPanel::getMode() const
{
    return states.value(foreground.rgba())->mode;
}

void ColorPanel::paintEvent(QPaintEvent*)
{
    const int w = width();
    const int h = height();
    const int side = h < w ? h : w;
    const int dx = h < w ? w - h : 0;
    const int dy = h < w ? 0 : h - w;
    const int big = int(side * 0.8);
    const int off = int(side * 0.2);
    QPainter painter(this);
    painter.fillRect(rect(), QBrush(checker));
    drawColor(&painter, int(dx * 0.5) + off, int(dy * 0.5) + off, big, big, background);
    drawColor(&painter, int(dx * 0.5), int(dy * 0.5), big, big, foreground);
}

void ColorPanel::drawColor(QPainter* painter, int x, int y, int width, int height, QColor color)
{
    painter->save();
    painter->fillRect(x, y, width, height, color);
    painter->setPen(QColor(255 - color.red(), 255 - color.green(), 255 - color.blue(), 255));
    painter->drawRect(x, y, width, height);
    painter->restore();
}

void ColorPanel::mousePressEvent(QMouseEvent* event)
{
    swap();
    QWidget::mousePressEvent(event);
}

void ColorPanel::swap()
{
    std::swap(foreground, background);
    emit brushChange(getBrush());
    repaint();
}
