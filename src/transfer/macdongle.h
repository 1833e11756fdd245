#ifndef MACDONGLE_H
#define MACDONGLE_H

#include "dongle_.h"

// The Windows build's stand-in for the macOS transport: sends and receives nothing.
class MacDongle : public Dongle_ {
public:
    bool TX(QByteArray bytes) override;
    QByteArray RX(int const& count) override;
};

#endif
