#ifndef LINEDECODER_H
#define LINEDECODER_H

#include <QByteArray>
#include <QString>

// Turns the dongle's line bytes back into message bytes: runs of 32 bytes 0xF0 or 0x55 are
// the symbols 0 and 1, and each message byte is a 0 start symbol, eight data symbols (least
// significant first), an odd-parity symbol and four 1 symbols.
class LineDecoder {
public:
    // False when the byte breaks a run, the framing or the parity; error() then tells why and
    // the decoder has forgotten the broken byte.
    bool feed(char lineByte);
    void reset();

    QByteArray takeBytes();
    // Nothing half-received: no partial run and no partial byte.
    bool atByteBoundary() const { return runLength == 0 && symbolCount == 0; }
    QString error() const { return lastError; }
    qint64 position() const { return fed; }

private:
    bool symbol(bool bit);
    bool fail(const QString& text);

    QByteArray bytes;
    char runByte = 0;
    int runLength = 0;
    int symbolCount = 0;
    int data = 0;
    int ones = 0;
    qint64 fed = 0;
    QString lastError;
};

#endif
