#ifndef FRAMEENCODER_H
#define FRAMEENCODER_H

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QMap>
#include <QPointF>

class WheelWeb;

// Turns pictures into the wheel's frame data: one bit per grid cell in cell order, most
// significant bit first, set where the picture's alpha at the cell's sampling point is above
// 128; for wheels with a hall sensor the data is turned by the sensor's angle.
class FrameEncoder {
public:
    static QByteArray encode(const QImage& picture, const QList<QPointF>& centers);
    // Whether the wheel lights the cell whose sampling point this is.
    static bool isLit(const QImage& picture, QPointF centre);
    // Left rotation by whole bytes of the columns the hall angle stands for.
    static QByteArray rotate(const QByteArray& frame, int value, int maximum, int lineCount,
                             int ledCount);
    static QMap<int, QByteArray> encodeAll(const QMap<int, QImage>& pictures, const WheelWeb& web,
                                           bool hall, int hallValue, int hallMaximum);
};

#endif
