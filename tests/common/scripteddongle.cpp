#include "scripteddongle.h"

bool ScriptedDongle::TX(QByteArray bytes)
{
    sent << bytes;
    error = status == RECEIVE_FAILED ? OK : status;
    return error == OK;
}

QByteArray ScriptedDongle::RX(int const& count)
{
    asked << count;
    error = status;
    return reply;
}

#ifndef Q_OS_WIN
QByteArray ScriptedDongle::TX_RX(QByteArray bytes, int const& count)
{
    sent << bytes;
    asked << count;
    error = status;
    return reply;
}
#endif
