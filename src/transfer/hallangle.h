#ifndef HALLANGLE_H
#define HALLANGLE_H

// The hall-sensor angle kept between runs, 0 to 360, which every transfer to a wheel with a
// hall sensor uses.
class HallAngle {
public:
    static int stored();
    static bool store(int angle);
};

#endif
