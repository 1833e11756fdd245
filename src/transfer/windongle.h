#ifndef WINDONGLE_H
#define WINDONGLE_H

#include "dongle_.h"

#include <QList>
#include <QString>

// The dongle through the virtual COM port that the FTDI driver creates on Windows. Every
// operation finds the port in the registry anew, opens it, exchanges its bytes and closes it.
class WinDongle : public Dongle_ {
public:
    struct RegistryEntry {
        QString name;
        QString value;
    };

    // The device name of the dongle's port, from the FTDIBUS subkeys (name, their PortName)
    // and the SERIALCOMM values (name, port); empty when the dongle has no port.
    static QString choosePort(const QList<RegistryEntry>& ftdiBus,
                              const QList<RegistryEntry>& serialComm);

#ifdef Q_OS_WIN
    bool TX(QByteArray bytes) override;
    QByteArray RX(int const& count) override;

private:
    QString findPort();
#endif
};

#endif
