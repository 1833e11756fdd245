#include "gridwindow.h"

#include "config/argparser.h"
#include "model/wheelweb.h"
#include "resources/resource.h"

#include <QPainter>

GridWindow::GridWindow(ArgParser* configuration, QWidget* parent)
    : QLabel(parent)
{
    const WheelWeb web(configuration->lines, configuration->leds, int(configuration->outerSize),
                       int(configuration->innerSize));
    QPixmap face(web.getOverlay().size());
    face.fill(Qt::white);
    QPainter painter(&face);
    painter.drawPixmap(0, 0, web.getOverlay());
    painter.end();
    setPixmap(face);
    setFixedSize(face.size());

    Resource::setTitle("Rimglow! " + configuration->name);
    setWindowTitle(Resource::getTitle());
    Resource::addIcon(this, "LOGO");
}

GridWindow::~GridWindow()
{
    Resource::remove(this);
}
