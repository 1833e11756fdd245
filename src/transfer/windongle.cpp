#include "windongle.h"

#ifdef Q_OS_WIN
#include <QSettings>
#include <QVector>
// wingdi.h would define ERROR over Dongle_::ERROR.
#define NOGDI
#include <windows.h>
#endif

QString WinDongle::choosePort(const QList<RegistryEntry>& ftdiBus,
                              const QList<RegistryEntry>& serialComm)
{
    QStringList ftdiPorts;
    for (const RegistryEntry& key : ftdiBus)
        if (key.name.startsWith("VID_0403+PID_6001+WR") && !key.value.isEmpty())
            ftdiPorts << key.value;
    QStringList serialPorts;
    for (const RegistryEntry& value : serialComm)
        if (value.name.startsWith("/Device/VCP"))
            serialPorts << value.value;
    for (const QString& port : serialPorts)
        if (ftdiPorts.contains(port))
            return "\\\\.\\" + port;
    return QString();
}

#ifdef Q_OS_WIN

namespace {

QList<WinDongle::RegistryEntry> ftdiBusKeys()
{
    QSettings bus("HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Enum\\FTDIBUS",
                  QSettings::NativeFormat);
    QList<WinDongle::RegistryEntry> keys;
    for (const QString& key : bus.childGroups())
        keys.append({key, bus.value(key + "/0000/Device Parameters/PortName").toString()});
    return keys;
}

QList<WinDongle::RegistryEntry> serialCommValues()
{
    QList<WinDongle::RegistryEntry> values;
    HKEY key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ, &key) !=
        ERROR_SUCCESS)
        return values;
    QSettings names("HKEY_LOCAL_MACHINE\\HARDWARE\\DEVICEMAP\\SERIALCOMM", QSettings::NativeFormat);
    for (const QString& name : names.childKeys()) {
        if (!name.startsWith("/Device/VCP"))
            continue;
        const QString native = QString(name).replace('/', '\\');
        wchar_t buffer[50] = {};
        DWORD size = sizeof(buffer);
        if (RegQueryValueExW(key, reinterpret_cast<LPCWSTR>(native.utf16()), nullptr, nullptr,
                             reinterpret_cast<LPBYTE>(buffer), &size) == ERROR_SUCCESS)
            values.append({name, QString::fromWCharArray(buffer, int(wcsnlen(buffer, 50)))});
    }
    RegCloseKey(key);
    return values;
}

bool setLine(HANDLE port, DWORD rate, BYTE parity, BYTE stopBits)
{
    DCB line;
    line.DCBlength = sizeof(line);
    if (!GetCommState(port, &line))
        return false;
    line.BaudRate = rate;
    line.ByteSize = 8;
    line.Parity = parity;
    line.StopBits = stopBits;
    return SetCommState(port, &line);
}

bool setTimeouts(HANDLE port, DWORD readMultiplier, DWORD readConstant)
{
    COMMTIMEOUTS timeouts;
    if (!GetCommTimeouts(port, &timeouts))
        return false;
    timeouts.ReadIntervalTimeout = 0;
    timeouts.ReadTotalTimeoutMultiplier = readMultiplier;
    timeouts.ReadTotalTimeoutConstant = readConstant;
    timeouts.WriteTotalTimeoutMultiplier = 1;
    timeouts.WriteTotalTimeoutConstant = 1;
    return SetCommTimeouts(port, &timeouts);
}

HANDLE openPort(const QString& device, DWORD access)
{
    return CreateFileW(reinterpret_cast<LPCWSTR>(device.utf16()), access, 0, nullptr, OPEN_EXISTING,
                       0, nullptr);
}

const DWORD purgeAll = PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR;

} // namespace

QString WinDongle::findPort()
{
    const QList<RegistryEntry> bus = ftdiBusKeys();
    const QList<RegistryEntry> serial = serialCommValues();
    const QString port = choosePort(bus, serial);
    if (port.isEmpty())
        error = NOT_FOUND;
    return port;
}

bool WinDongle::TX(QByteArray bytes)
{
    error = OK;
    const QString device = findPort();
    if (device.isEmpty())
        return false;
    HANDLE port = openPort(device, GENERIC_WRITE);
    DWORD written = 0;
    const bool sent = port != INVALID_HANDLE_VALUE && PurgeComm(port, purgeAll) &&
                      SetupComm(port, 4096, DWORD(bytes.size())) &&
                      setLine(port, 384615, NOPARITY, ONESTOPBIT) && setTimeouts(port, 1, 1) &&
                      WriteFile(port, bytes.constData(), DWORD(bytes.size()), &written, nullptr) &&
                      written == DWORD(bytes.size());
    if (port != INVALID_HANDLE_VALUE)
        CloseHandle(port);
    if (!sent)
        error = SEND_FAILED;
    return sent;
}

QByteArray WinDongle::RX(int const& count)
{
    error = OK;
    const QString device = findPort();
    if (device.isEmpty())
        return QByteArray();
    HANDLE port = openPort(device, GENERIC_READ);
    QByteArray reply(count, '\0');
    DWORD got = 0;
    const bool received =
        port != INVALID_HANDLE_VALUE && PurgeComm(port, purgeAll) && setTimeouts(port, 2, 500) &&
        setLine(port, 1202, ODDPARITY, TWOSTOPBITS) &&
        ReadFile(port, reply.data(), DWORD(count), &got, nullptr) && got == DWORD(count);
    if (port != INVALID_HANDLE_VALUE)
        CloseHandle(port);
    if (!received) {
        error = RECEIVE_FAILED;
        return QByteArray();
    }
    return reply;
}

#endif
