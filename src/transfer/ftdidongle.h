#ifndef FTDIDONGLE_H
#define FTDIDONGLE_H

#include "dongle_.h"

// The dongle through the FTDI D2XX interface: every operation opens the device by its
// description, sets the line, exchanges its bytes and closes the device again.
class FtdiDongle : public Dongle_ {
public:
    static const char* const description;

    bool TX(QByteArray bytes) override;
    QByteArray RX(int const& count) override;
    QByteArray TX_RX(QByteArray bytes, int const& count) override;

    bool openDongle(void** handle);
    bool closeDongle(void** handle);
};

// True when a library call succeeded; names the step it checks.
bool showState(char* step, unsigned int status);

#endif
