#ifndef SCRIPTEDDONGLE_H
#define SCRIPTEDDONGLE_H

#include "transfer/dongle_.h"

#include <QList>

// A dongle whose exchanges return a reply and a status set by the test, and which records the
// line bytes it was given.
class ScriptedDongle : public Dongle_ {
public:
    bool TX(QByteArray bytes) override;
    QByteArray RX(int const& count) override;
#ifndef Q_OS_WIN
    QByteArray TX_RX(QByteArray bytes, int const& count) override;
#endif

    QByteArray reply;
    ERROR status = OK;
    QList<QByteArray> sent;
    QList<int> asked;
};

#endif
