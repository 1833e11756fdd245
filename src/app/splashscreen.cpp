#include "splashscreen.h"

#include "buildinfo.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

SplashScreen::SplashScreen(QString path)
    : QLabel(nullptr, Qt::SplashScreen | Qt::WindowStaysOnTopHint)
    , picture(path)
    , fadesItself(QGuiApplication::platformName() == "wayland")
{
    if (fadesItself)
        setAttribute(Qt::WA_TranslucentBackground);
    widthStep = (picture.width() - 300) / 50;
    const QPixmap small = picture.scaledToWidth(300, Qt::SmoothTransformation);
    setPixmap(small);
    setFixedSize(small.isNull() ? QSize(300, 0) : small.size());

    QRect frame = frameGeometry();
    frame.moveCenter(QGuiApplication::primaryScreen()->availableGeometry().center());
    move(frame.topLeft());
    connect(this, &SplashScreen::end, this, &QWidget::close);

    auto* link = new QLabel(this);
    link->setTextFormat(Qt::RichText);
    link->setOpenExternalLinks(true);
    link->setText(QString("<a style=\"color:white\" href=\"%1\">%1</a>").arg(BuildInfo::vendorUrl));
    link->adjustSize();
    link->move(width() - link->width(), height() - link->height());
}

void SplashScreen::next()
{
    QPixmap frame(size());
    frame.fill(Qt::transparent);
    QPainter painter(&frame);
    // At the opacity the window gets with this step.
    if (fadesItself)
        painter.setOpacity(opacity - opacityStep);
    painter.drawPixmap(0, 0, picture.scaledToWidth(qMax(1, shownWidth), Qt::FastTransformation));
    painter.end();
    setPixmap(frame);

    opacity -= opacityStep;
    shownWidth += widthStep;
    if (!fadesItself)
        setWindowOpacity(opacity);
    // A picture only slightly wider than the small splash grows by nothing per step; the fade
    // still ends the animation.
    if (shownWidth >= picture.width() || opacity < opacityStep / 2)
        emit end();
}
