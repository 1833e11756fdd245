#include "ftdidongle.h"

#include "d2xx/devicenode.h"
#include "d2xx/ftd2xx.h"

const char* const FtdiDongle::description = "Velmo Wave Relay USB dongle";

namespace {

const ULONG sendRate = 384615;
const ULONG replyRate = 1202;
const ULONG readTimeout = 1200;

bool check(const char* step, FT_STATUS status)
{
    return showState(const_cast<char*>(step), status);
}

bool setSendLine(FT_HANDLE handle)
{
    return check("set baudrate", FT_SetBaudRate(handle, sendRate)) &&
           check("set data characteristics",
                 FT_SetDataCharacteristics(handle, FT_BITS_8, FT_STOP_BITS_1, FT_PARITY_NONE));
}

bool setReplyLine(FT_HANDLE handle)
{
    return check("set baudrate", FT_SetBaudRate(handle, replyRate)) &&
           check("set data characteristics",
                 FT_SetDataCharacteristics(handle, FT_BITS_8, FT_STOP_BITS_2, FT_PARITY_ODD));
}

// A message cut short is never answered, so a short write counts as a failed one.
bool write(FT_HANDLE handle, QByteArray bytes)
{
    DWORD written = 0;
    return check("write data", FT_Write(handle, bytes.data(), DWORD(bytes.size()), &written)) &&
           written == DWORD(bytes.size());
}

// The reply, when exactly count bytes arrived within the read time-out.
bool read(FT_HANDLE handle, int count, QByteArray* reply)
{
    QByteArray buffer(count, '\0');
    DWORD got = 0;
    if (!check("read data", FT_Read(handle, buffer.data(), DWORD(count), &got)) ||
        got != DWORD(count))
        return false;
    *reply = buffer;
    return true;
}

bool purge(FT_HANDLE handle)
{
    return check("purge", FT_Purge(handle, FT_PURGE_RX | FT_PURGE_TX));
}

} // namespace

bool showState(char* step, unsigned int status)
{
    Q_UNUSED(step);
    return status == FT_OK;
}

bool FtdiDongle::openDongle(void** handle)
{
    *handle = nullptr;
    if (!check("open device",
               FT_OpenEx(const_cast<char*>(description), FT_OPEN_BY_DESCRIPTION, handle))) {
        *handle = nullptr;
        return false;
    }
    if (check("set tiome out", FT_SetTimeouts(*handle, readTimeout, 0)) &&
        check("set tiome out", FT_SetFlowControl(*handle, FT_FLOW_NONE, 0, 0)))
        return true;
    closeDongle(handle);
    return false;
}

bool FtdiDongle::closeDongle(void** handle)
{
    const bool closed = check("open device", FT_Close(*handle));
    *handle = nullptr;
    return closed;
}

bool FtdiDongle::TX(QByteArray bytes)
{
    void* handle;
    if (!openDongle(&handle))
        return false;
    if (setSendLine(handle) && write(handle, bytes))
        return closeDongle(&handle);
    closeDongle(&handle);
    return false;
}

QByteArray FtdiDongle::RX(int const& count)
{
    void* handle;
    if (!openDongle(&handle))
        return QByteArray();
    QByteArray reply;
    if (purge(handle) && setReplyLine(handle) && read(handle, count, &reply))
        return closeDongle(&handle) ? reply : QByteArray();
    closeDongle(&handle);
    return QByteArray();
}

QByteArray FtdiDongle::TX_RX(QByteArray bytes, int const& count)
{
    error = NOT_FOUND;
    FT_HANDLE handle = nullptr;
    if (!check("open device",
               FT_OpenEx(const_cast<char*>(description), FT_OPEN_BY_DESCRIPTION, &handle))) {
        // D2XX cannot say why a present device did not open; missing permissions are the
        // cause a user can mend, so they are told apart.
        if (DeviceNode::accessDenied(description))
            error = NO_ACCESS;
        return QByteArray();
    }

    QByteArray reply;
    error = SEND_FAILED;
    if (check("set tiome out", FT_SetTimeouts(handle, readTimeout, 0)) &&
        check("set tiome out", FT_SetFlowControl(handle, FT_FLOW_NONE, 0, 0)) &&
        setSendLine(handle) && write(handle, bytes) && purge(handle) && setReplyLine(handle)) {
        error = RECEIVE_FAILED;
        if (read(handle, count, &reply))
            error = OK;
    }
    FT_Close(handle);
    return error == OK ? reply : QByteArray();
}
