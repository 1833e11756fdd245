#include "linedecoder.h"

namespace {

const int burst = 32;
const char one = char(0x55);
const char zero = char(0xF0);

} // namespace

bool LineDecoder::feed(char lineByte)
{
    ++fed;
    if (runLength == 0) {
        if (lineByte != one && lineByte != zero)
            return fail(
                QString("line byte 0x%1 is no symbol").arg(quint8(lineByte), 2, 16, QChar('0')));
        runByte = lineByte;
    } else if (lineByte != runByte) {
        return fail(QString("run broken after %1 of %2 bytes").arg(runLength).arg(burst));
    }
    if (++runLength < burst)
        return true;
    runLength = 0;
    return symbol(runByte == one);
}

bool LineDecoder::symbol(bool bit)
{
    const int index = symbolCount++;
    if (index == 0) {
        if (bit)
            return fail("start symbol is 1");
        data = 0;
        ones = 0;
    } else if (index <= 8) {
        if (bit) {
            data |= 1 << (index - 1);
            ++ones;
        }
    } else if (index == 9) {
        if ((ones + bit) % 2 != 1)
            return fail("parity error");
    } else if (!bit) {
        return fail("stop symbol is 0");
    }
    if (symbolCount == 14) {
        symbolCount = 0;
        bytes.append(char(data));
    }
    return true;
}

bool LineDecoder::fail(const QString& text)
{
    lastError = QString("at line byte %1: %2").arg(fed).arg(text);
    runLength = 0;
    symbolCount = 0;
    return false;
}

void LineDecoder::reset()
{
    bytes.clear();
    runLength = 0;
    symbolCount = 0;
}

QByteArray LineDecoder::takeBytes()
{
    QByteArray taken = bytes;
    bytes.clear();
    return taken;
}
