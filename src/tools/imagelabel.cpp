#include "imagelabel.h"

#include "resources/resource.h"

#include <QAction>
#include <QBoxLayout>
#include <QPainter>
#include <QSizeGrip>
#include <QSlider>
#include <QToolBar>

namespace {

// A bar over the picture, its background see-through enough to show where it lies.
void shade(QToolBar* bar)
{
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->adjustSize();
    bar->setAutoFillBackground(true);
    QPalette palette = bar->palette();
    QColor colour = palette.brush(bar->backgroundRole()).color();
    colour.setAlphaF(0.7f);
    palette.setColor(QPalette::All, bar->backgroundRole(), colour);
    bar->setPalette(palette);
}

} // namespace

ImageLabel::ImageLabel(QPixmap picture, QBrush brush, int maximumSize)
    : picture(ImageConverter::fitted(picture.toImage(), maximumSize))
    , maximumSize(maximumSize)
    , brush(brush)
{
    convert();
    setAttribute(Qt::WA_NoSystemBackground);
    setScaledContents(true);
    resize(this->picture.size());

    toolbar = new QToolBar(this);
    const struct {
        const char* text;
        void (ImageLabel::*slot)();
        const char* icon;
        const char* key;
    } actions[] = {{"ok", &ImageLabel::toAdd, "YES", "OK"},
                   {"cancel", &ImageLabel::toClose, "NO", "CANCEL"},
                   {"autoSize", &ImageLabel::toResize, "AUTO_DETECT", "AUTO_DETECT"}};
    for (const auto& entry : actions) {
        QAction* action = toolbar->addAction(entry.text);
        connect(action, &QAction::triggered, this, entry.slot);
        action->setIcon(Resource::getIcon(entry.icon));
        action->setText(Resource::getText(entry.key));
    }
    shade(toolbar);
    // The two bars as one block, each as wide as the wider.
    QToolBar* controls = addControls();
    const int width = qMax(toolbar->width(), controls->width());
    toolbar->resize(width, toolbar->height());
    controls->setGeometry(0, toolbar->height(), width, controls->height());
    setMinimumSize(width, toolbar->height() + controls->height());

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(new QSizeGrip(this), 0, Qt::AlignRight | Qt::AlignBottom);
    setFrameShape(QFrame::Box);
}

QToolBar* ImageLabel::addControls()
{
    auto* controls = new QToolBar(this);
    auto* threshold = new QSlider(Qt::Horizontal);
    threshold->setRange(0, 255);
    threshold->setValue(converter.threshold);
    threshold->setToolTip(Resource::getText("THRESHOLD"));
    threshold->setAccessibleName(threshold->toolTip());
    // Wide enough for a step of about two grey levels per pixel, narrow enough for a small panel.
    threshold->setFixedWidth(112);
    auto* number = new QLabel(QString::number(converter.threshold));
    number->setToolTip(threshold->toolTip());
    number->setFixedWidth(number->fontMetrics().horizontalAdvance("255") + 6);
    number->setAlignment(Qt::AlignCenter);
    controls->addWidget(threshold);
    controls->addWidget(number);
    connect(threshold, &QSlider::valueChanged, this, [this, number](int value) {
        converter.threshold = value;
        number->setNum(value);
        convert();
    });

    const struct {
        const char* key;
        const char* tip;
        bool ImageConverter::*setting;
    } switches[] = {{"INVERT", "INVERT_TIP", &ImageConverter::invert},
                    {"DITHER", "DITHER_TIP", &ImageConverter::dither}};
    for (const auto& entry : switches) {
        QAction* action = controls->addAction(Resource::getText(entry.key));
        action->setToolTip(Resource::getText(entry.tip));
        action->setCheckable(true);
        const auto setting = entry.setting;
        connect(action, &QAction::toggled, this, [this, setting](bool on) {
            converter.*setting = on;
            convert();
        });
    }
    shade(controls);
    return controls;
}

QPixmap ImageLabel::toMono(QPixmap picture) const
{
    return QPixmap::fromImage(mono(picture.toImage()));
}

QImage ImageLabel::mono(const QImage& picture) const
{
    const QImage ink = converter.toInk(picture);
    // The brush laid over the whole picture; ink takes its colour, its alpha scaled by 210.
    // Computed by hand, as painting in source-in mode would round the colours.
    QImage paint(ink.size(), QImage::Format_ARGB32);
    paint.fill(Qt::transparent);
    QPainter painter(&paint);
    painter.fillRect(paint.rect(), brush);
    painter.end();
    QImage result(ink.size(), QImage::Format_ARGB32);
    for (int y = 0; y < ink.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(ink.constScanLine(y));
        const auto* colour = reinterpret_cast<const QRgb*>(paint.constScanLine(y));
        auto* out = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < ink.width(); ++x) {
            const QRgb c = colour[x];
            out[x] = in[x] ? qRgba(qRed(c), qGreen(c), qBlue(c), 0xD2 * qAlpha(c) / 255) : 0;
        }
    }
    return result;
}

void ImageLabel::convert()
{
    setPixmap(QPixmap::fromImage(mono(picture)));
}

void ImageLabel::setBrush(QBrush newBrush)
{
    brush = newBrush;
    convert();
}

void ImageLabel::toResize()
{
    // Stretched before the reduction, so a dither pattern keeps the fineness of the wheel.
    picture =
        picture.scaled(maximumSize, maximumSize, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    convert();
    resize(maximumSize, maximumSize);
    emit toMax();
}

void ImageLabel::toAdd()
{
    emit toDraw(pixmap().scaled(width(), height(), Qt::IgnoreAspectRatio, Qt::FastTransformation));
    emit toEnd();
}

void ImageLabel::toClose()
{
    emit toEnd();
}
