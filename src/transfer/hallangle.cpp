#include "hallangle.h"

#include "resources/hiddenfile.h"

#include <QtGlobal>

namespace {

const char* const hallFile = "hall";
const int defaultAngle = 200;

} // namespace

int HallAngle::stored()
{
    // Text that is no number reads as 0. A wrapping dial would fold a value outside its range
    // around to some unrelated angle, so it is clamped first.
    const int angle =
        HiddenFile::exists(hallFile) ? HiddenFile::read(hallFile).toInt() : defaultAngle;
    return qBound(0, angle, 360);
}

bool HallAngle::store(int angle)
{
    return HiddenFile::write(hallFile, QString::number(angle));
}
