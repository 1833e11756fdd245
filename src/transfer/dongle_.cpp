#include "dongle_.h"

namespace {

// Each symbol is a burst of 32 equal line bytes: 0x55 draws the fast wave of a 1, 0xF0 the slow
// wave of a 0.
const int burst = 32;
const char one = char(0x55);
const char zero = char(0xF0);

void appendSymbol(QByteArray* line, bool bit)
{
    line->append(burst, bit ? one : zero);
}

} // namespace

char Dongle_::crc(QByteArray const& bytes) const
{
    quint8 value = 0;
    for (char byte : bytes) {
        value ^= quint8(byte);
        for (int i = 0; i < 8; ++i)
            value = (value & 1) ? (value >> 1) ^ 0x8C : value >> 1;
    }
    return char(value);
}

QByteArray Dongle_::package(QByteArray const& message) const
{
    QByteArray line;
    line.reserve(message.size() * 14 * burst);
    for (char byte : message) {
        const quint8 data = quint8(byte);
        appendSymbol(&line, false);
        int ones = 0;
        for (int bit = 0; bit < 8; ++bit) {
            const bool set = data & (1 << bit);
            ones += set;
            appendSymbol(&line, set);
        }
        appendSymbol(&line, ones % 2 == 0);
        for (int i = 0; i < 4; ++i)
            appendSymbol(&line, true);
    }
    return line;
}

bool Dongle_::toWrite(QByteArray const& message)
{
    return TX(package(message));
}

QByteArray Dongle_::toRead(int const& count)
{
    return RX(count);
}

bool Dongle_::click()
{
    return toWrite(QByteArray(1, '\0'));
}

QByteArray Dongle_::getId()
{
    const QByteArray line = package("ID");
#ifdef Q_OS_WIN
    if (!TX(line))
        return QByteArray();
    return RX(7);
#else
    return TX_RX(line, 7);
#endif
}

bool Dongle_::save(char const& slot, QByteArray const& data)
{
    const QByteArray line = package("SAv" + data + QByteArray(1, slot));
#ifdef Q_OS_WIN
    if (!TX(line))
        return false;
    const QByteArray reply = RX(1);
#else
    const QByteArray reply = TX_RX(line, 1);
#endif
    if (error != OK)
        return false;
    return reply.size() == 1 && reply[0] == crc(data);
}
