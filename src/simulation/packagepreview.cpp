#include "packagepreview.h"

#include "config/argparser.h"

#include <QPainter>

QPixmap packagePreview(const ArgParser& product, const QList<QColor>& colors)
{
    const int size = product.iconSize;
    const int leds = product.leds;
    const int n = colors.size();
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setPen(Qt::NoPen);
    const QRectF whole(0, 0, size, size);
    if (n == 1) {
        painter.setBrush(colors[0]);
        painter.drawEllipse(whole);
    } else if (n == 3) {
        for (int i = 0; i < 3; ++i) {
            painter.setBrush(colors[i]);
            painter.drawPie(whole, i * 120 * 16, 120 * 16);
        }
    } else {
        for (int i = 0; i < n; ++i) {
            const double edge = product.getX((leds / n) * i);
            painter.setBrush(colors[i]);
            painter.drawEllipse(
                QRectF(QPointF(edge, edge), QPointF(size - edge, size - edge)).normalized());
        }
    }

    // A single LED has no pitch and so no hub boundary: its preview stays a full disc.
    if (leds > 1) {
        const int t = int(product.getX(leds));
        painter.setCompositionMode(QPainter::CompositionMode_SourceOut);
        painter.setBrush(Qt::black);
        painter.drawEllipse(QRect(QPoint(t, t), QPoint(size - t - 1, size - t - 1)).normalized());
    }
    painter.end();
    return pixmap;
}
