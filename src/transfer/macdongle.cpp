#include "macdongle.h"

bool MacDongle::TX(QByteArray)
{
    error = OK;
    return false;
}

QByteArray MacDongle::RX(int const&)
{
    error = OK;
    return QByteArray();
}
