#include "pentool.h"

#include "model/wheelweb.h"
#include "penlabel.h"

#include <QGraphicsProxyWidget>
#include <QGraphicsScene>
#include <QPainter>

PenTool::PenTool(WheelWeb* web, QGraphicsView* view, QBrush brush, int div)
    : Tool(web, view, brush, div)
{
    build();
}

PenTool::PenTool(Tool* other)
    : Tool(other)
{
    build();
}

void PenTool::build()
{
    label = new PenLabel(*web);
    result = QPixmap(web->getOverlay().size());
    connect(label, &PenLabel::click, this, &PenTool::click);
    connect(label, &PenLabel::toEnd, this, &PenTool::toEnd);
    proxy = scene()->addWidget(label);
    proxy->setZValue(1);
    // It only catches the mouse: as a focus stop in the scene, it would keep Tab in the view.
    proxy->setFocusPolicy(Qt::NoFocus);
    result.fill(Qt::transparent);
}

PenTool::~PenTool()
{
    if (scene())
        delete proxy;
}

void PenTool::click(int picked)
{
    index = picked;
    update();
}

void PenTool::update()
{
    if (index == -1)
        return;
    QPainter painter(&result);
    painter.setBrush(brush);
    painter.setPen(Qt::NoPen);
    cellPainter().paintRepeats(&painter, index);
    painter.end();
    setTempPixmap(result);
}

void PenTool::discard()
{
    index = -1;
    result.fill(Qt::transparent);
    setTempPixmap(result);
}

void PenTool::toEnd()
{
    if (index != -1)
        emit upDate(result);
    emit end();
}

void PenTool::hide()
{
    if (scene())
        proxy->hide();
    QPixmap nothing(1, 1);
    nothing.fill(Qt::transparent);
    setTempPixmap(nothing);
}
