// The D2XX calls of the dongle transport over the dongle's serial device node.

#include "ftd2xx.h"

#include "devicenode.h"
#include "serialport.h"

namespace {

SerialPort* port(FT_HANDLE handle)
{
    return static_cast<SerialPort*>(handle);
}

} // namespace

FT_STATUS FT_OpenEx(PVOID pArg1, DWORD Flags, FT_HANDLE* pHandle)
{
    if (!pArg1 || !pHandle)
        return FT_INVALID_PARAMETER;
    if (Flags != FT_OPEN_BY_DESCRIPTION)
        return FT_NOT_SUPPORTED;
    const QString node = DeviceNode::find(QString::fromLatin1(static_cast<const char*>(pArg1)));
    if (node.isEmpty())
        return FT_DEVICE_NOT_FOUND;
    auto* serial = new SerialPort;
    if (!serial->open(node)) {
        delete serial;
        return FT_DEVICE_NOT_OPENED;
    }
    *pHandle = serial;
    return FT_OK;
}

FT_STATUS FT_Close(FT_HANDLE ftHandle)
{
    if (!ftHandle)
        return FT_INVALID_HANDLE;
    const bool closed = port(ftHandle)->close();
    delete port(ftHandle);
    return closed ? FT_OK : FT_IO_ERROR;
}

FT_STATUS FT_SetTimeouts(FT_HANDLE ftHandle, ULONG ReadTimeout, ULONG WriteTimeout)
{
    if (!ftHandle)
        return FT_INVALID_HANDLE;
    port(ftHandle)->setTimeouts(int(ReadTimeout), int(WriteTimeout));
    return FT_OK;
}

FT_STATUS FT_SetFlowControl(FT_HANDLE ftHandle, USHORT FlowControl, UCHAR, UCHAR)
{
    if (!ftHandle)
        return FT_INVALID_HANDLE;
    if (FlowControl != FT_FLOW_NONE)
        return FT_NOT_SUPPORTED;
    return port(ftHandle)->setNoFlowControl() ? FT_OK : FT_IO_ERROR;
}

FT_STATUS FT_SetBaudRate(FT_HANDLE ftHandle, ULONG BaudRate)
{
    if (!ftHandle)
        return FT_INVALID_HANDLE;
    return port(ftHandle)->setBaudRate(int(BaudRate)) ? FT_OK : FT_INVALID_BAUD_RATE;
}

FT_STATUS FT_SetDataCharacteristics(FT_HANDLE ftHandle, UCHAR WordLength, UCHAR StopBits,
                                    UCHAR Parity)
{
    if (!ftHandle)
        return FT_INVALID_HANDLE;
    if ((WordLength != FT_BITS_7 && WordLength != FT_BITS_8) ||
        (StopBits != FT_STOP_BITS_1 && StopBits != FT_STOP_BITS_2) || Parity > FT_PARITY_EVEN)
        return FT_INVALID_PARAMETER;
    const SerialPort::Parity parity = Parity == FT_PARITY_ODD    ? SerialPort::OddParity
                                      : Parity == FT_PARITY_EVEN ? SerialPort::EvenParity
                                                                 : SerialPort::NoParity;
    return port(ftHandle)->setDataCharacteristics(WordLength, StopBits == FT_STOP_BITS_2 ? 2 : 1,
                                                  parity)
               ? FT_OK
               : FT_IO_ERROR;
}

FT_STATUS FT_Write(FT_HANDLE ftHandle, LPVOID lpBuffer, DWORD dwBytesToWrite,
                   LPDWORD lpBytesWritten)
{
    if (!ftHandle)
        return FT_INVALID_HANDLE;
    if (!lpBytesWritten || (!lpBuffer && dwBytesToWrite > 0))
        return FT_INVALID_PARAMETER;
    const qint64 written =
        port(ftHandle)->write(static_cast<const char*>(lpBuffer), dwBytesToWrite);
    if (written < 0)
        return FT_IO_ERROR;
    *lpBytesWritten = DWORD(written);
    return FT_OK;
}

FT_STATUS FT_Purge(FT_HANDLE ftHandle, ULONG Mask)
{
    if (!ftHandle)
        return FT_INVALID_HANDLE;
    SerialPort* serial = port(ftHandle);
    // Bytes on their way to the wheel are waited for, never thrown away: a cut message would
    // never be answered.
    if ((Mask & FT_PURGE_TX) && !serial->drain())
        return FT_IO_ERROR;
    if ((Mask & FT_PURGE_RX) && !serial->discardInput())
        return FT_IO_ERROR;
    return FT_OK;
}

FT_STATUS FT_Read(FT_HANDLE ftHandle, LPVOID lpBuffer, DWORD dwBytesToRead, LPDWORD lpBytesReturned)
{
    if (!ftHandle)
        return FT_INVALID_HANDLE;
    if (!lpBytesReturned || (!lpBuffer && dwBytesToRead > 0))
        return FT_INVALID_PARAMETER;
    const qint64 got = port(ftHandle)->read(static_cast<char*>(lpBuffer), dwBytesToRead);
    if (got < 0)
        return FT_IO_ERROR;
    *lpBytesReturned = DWORD(got);
    return FT_OK;
}
