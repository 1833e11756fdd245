#include "frameencoder.h"

#include "model/wheelweb.h"

QByteArray FrameEncoder::encode(const QImage& picture, const QList<QPointF>& centers)
{
    QByteArray frame;
    frame.reserve(centers.size() / 8 + 1);
    quint8 byte = 0;
    int bit = 7;
    for (const QPointF& centre : centers) {
        if (bit < 0) {
            frame.append(char(byte));
            byte = 0;
            bit = 7;
        }
        if (isLit(picture, centre))
            byte |= quint8(1 << bit);
        --bit;
    }
    frame.append(char(byte));
    return frame;
}

bool FrameEncoder::isLit(const QImage& picture, QPointF centre)
{
    const int x = int(centre.x());
    const int y = int(centre.y());
    // Points outside the picture read as unlit.
    if (!picture.valid(x, y))
        return false;
    // The pictures of a design are read straight from their lines: the encoder reads every
    // cell of every picture sent, and pixel() looks at the format each time.
    const QImage::Format format = picture.format();
    const QRgb pixel =
        format == QImage::Format_ARGB32_Premultiplied || format == QImage::Format_ARGB32
            ? reinterpret_cast<const QRgb*>(picture.constScanLine(y))[x]
            : picture.pixel(x, y);
    return qAlpha(pixel) > 128;
}

QByteArray FrameEncoder::rotate(const QByteArray& frame, int value, int maximum, int lineCount,
                                int ledCount)
{
    if (maximum <= 0 || frame.isEmpty())
        return frame;
    int shift = (3 * maximum) / 4 - value;
    if (shift < 0)
        shift += maximum;
    const int columns = (shift * lineCount) / maximum;
    const qsizetype offset = qsizetype(columns) * (ledCount / 8) % frame.size();
    return frame.mid(offset) + frame.left(offset);
}

QMap<int, QByteArray> FrameEncoder::encodeAll(const QMap<int, QImage>& pictures,
                                              const WheelWeb& web, bool hall, int hallValue,
                                              int hallMaximum)
{
    QMap<int, QByteArray> frames;
    for (auto it = pictures.cbegin(); it != pictures.cend(); ++it) {
        const QByteArray frame = encode(it.value(), web.getCenters());
        frames.insert(it.key(), hall ? rotate(frame, hallValue, hallMaximum, web.getLineCount(),
                                              web.getLedCount())
                                     : frame);
    }
    return frames;
}
