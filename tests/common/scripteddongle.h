#ifndef SCRIPTEDDONGLE_H
#define SCRIPTEDDONGLE_H

#include "transfer/donglethread.h"

#include <QMap>
#include <QMutex>
#include <QStringList>

// The wheel behind the dongles that its factory makes, one for each worker run: it answers the
// identity request with its identity and a store with the CRC of the frame, unless the test
// scripted another answer for that exchange, and records the messages it gets as "click",
// "identity" and "store SLOT". Its dongles code the line as the real one does.
class ScriptedWheel {
public:
    struct Answer {
        QByteArray reply;
        Dongle_::ERROR status = Dongle_::OK;
    };

    explicit ScriptedWheel(const QByteArray& identity = QByteArray())
        : identity(identity)
    {
    }

    DongleFactory factory();
    QStringList messages() const;

    // By the number of the exchange among those that await a reply, counted from 0; set only
    // while no worker runs.
    QMap<int, Answer> answers;

private:
    class Dongle;
    void record(const QByteArray& message);
    Answer exchange(const Dongle_& dongle, const QByteArray& message);

    QByteArray identity;
    mutable QMutex mutex;
    QStringList log;
    int exchanges = 0;
};

#endif
