#ifndef DONGLE_H
#define DONGLE_H

#include <QByteArray>
#include <QtGlobal>

// On Windows, wingdi.h (which Qt's OpenGL headers bring in) defines ERROR as a macro.
#ifdef ERROR
#undef ERROR
#endif

// The wheel's USB radio dongle as the program talks to it: three messages (click, identity
// request, store request), each line-coded into bursts for the dongle's serial line, and the
// status of the last exchange. The byte transport is the subclass's.
class Dongle_ {
public:
    enum ERROR : int {
        OK = 0,
        NOT_FOUND = 1,
        SEND_FAILED = 2,
        RECEIVE_FAILED = 3,
        // Ours, beside the protocol's statuses: the dongle is there, but this user may not
        // open it.
        NO_ACCESS = 100
    };

    virtual ~Dongle_() = default;

    // Sends line bytes with the send settings; true when everything was written.
    virtual bool TX(QByteArray bytes) = 0;
    // Reads exactly count reply bytes with the reply settings; empty when that failed.
    virtual QByteArray RX(int const& count) = 0;
#ifndef Q_OS_WIN
    // Sends line bytes and reads count reply bytes within one opening of the device.
    virtual QByteArray TX_RX(QByteArray bytes, int const& count) = 0;
#endif

    char crc(QByteArray const& bytes) const;
    QByteArray package(QByteArray const& message) const;
    bool toWrite(QByteArray const& message);
    QByteArray toRead(int const& count);
    bool click();
    QByteArray getId();
    bool save(char const& slot, QByteArray const& data);
    ERROR getError() const
    {
        return error;
    }

protected:
    ERROR error = OK;
};

#endif
