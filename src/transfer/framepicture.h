#ifndef FRAMEPICTURE_H
#define FRAMEPICTURE_H

#include <QByteArray>
#include <QImage>

class WheelWeb;

// What a wheel lights for a frame: the wheel face with the cells whose bit is set, under a
// faint grid.
class FramePicture {
public:
    static QImage draw(const QByteArray& frame, const WheelWeb& web);
};

#endif
