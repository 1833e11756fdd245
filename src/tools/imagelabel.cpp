#include "imagelabel.h"

#include "imageconverter.h"

#include "resources/resource.h"

#include <QAction>
#include <QBoxLayout>
#include <QPainter>
#include <QSizeGrip>
#include <QToolBar>

ImageLabel::ImageLabel(QPixmap picture, QBrush brush, int maximumSize)
    : maximumSize(maximumSize)
    , brush(brush)
{
    show(mono(ImageConverter::fitted(picture.toImage(), maximumSize)));
    setAttribute(Qt::WA_NoSystemBackground);
    setScaledContents(true);
    resize(shown.size());

    toolbar = new QToolBar(this);
    toolbar->setMovable(false);
    toolbar->setFloatable(false);
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
    toolbar->adjustSize();
    toolbar->setAutoFillBackground(true);
    QPalette palette = toolbar->palette();
    QColor shade = palette.brush(toolbar->backgroundRole()).color();
    shade.setAlphaF(0.7f);
    palette.setColor(QPalette::All, toolbar->backgroundRole(), shade);
    toolbar->setPalette(palette);
    setMinimumSize(toolbar->size());

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(new QSizeGrip(this), 0, Qt::AlignRight | Qt::AlignBottom);
    setFrameShape(QFrame::Box);
}

QPixmap ImageLabel::toMono(QPixmap picture) const
{
    return QPixmap::fromImage(mono(picture.toImage()));
}

QImage ImageLabel::mono(const QImage& picture) const
{
    const QImage ink = ImageConverter().toInk(picture);
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

void ImageLabel::show(const QImage& picture)
{
    shown = picture;
    setPixmap(QPixmap::fromImage(picture));
}

void ImageLabel::setBrush(QBrush newBrush)
{
    brush = newBrush;
    show(mono(shown));
}

void ImageLabel::toResize()
{
    show(shown.scaled(maximumSize, maximumSize, Qt::IgnoreAspectRatio, Qt::FastTransformation));
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
