#include "framepicture.h"

#include "model/wheelweb.h"

#include <QPainter>

QImage FramePicture::draw(const QByteArray& frame, const WheelWeb& web)
{
    QImage face(web.getOverlay().size(), QImage::Format_ARGB32);
    face.fill(QColor(16, 18, 28));
    QPainter painter(&face);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 170, 40));
    const QList<QPolygonF>& cells = web.getPolygons();
    for (int i = 0; i < cells.size() && i / 8 < frame.size(); ++i)
        if (quint8(frame[i / 8]) & (0x80 >> (i % 8)))
            painter.drawPolygon(cells[i]);
    painter.setPen(QColor(255, 255, 255, 40));
    painter.setBrush(Qt::NoBrush);
    for (const QPolygonF& cell : cells)
        painter.drawPolygon(cell);
    painter.end();
    return face;
}
