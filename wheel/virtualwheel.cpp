#include "virtualwheel.h"

#include "model/wheelweb.h"
#include "transfer/framepicture.h"

#include <QDir>
#include <QImage>
#include <QSaveFile>

#include <cstdio>

namespace {

// The wheel's own CRC-8 (Dallas/Maxim, reflected polynomial 0x8C).
quint8 crc8(const QByteArray& bytes)
{
    quint8 crc = 0;
    for (char byte : bytes) {
        crc ^= quint8(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1) ? quint8((crc >> 1) ^ 0x8C) : quint8(crc >> 1);
    }
    return crc;
}

} // namespace

VirtualWheel::VirtualWheel(const QByteArray& identity, int lines, int leds, int outer, int inner)
    : identity(identity.left(7).leftJustified(7, '\0'))
    , lines(lines)
    , leds(leds)
    , outer(outer)
    , inner(inner)
    , frameSize((lines * leds + 7) / 8)
{
}

QList<QByteArray> VirtualWheel::receive(const QByteArray& line)
{
    QList<QByteArray> replies;
    for (char byte : line) {
        if (dropping)
            continue;
        if (!decoder.feed(byte)) {
            report("line error " + decoder.error() + "; message dropped");
            dropping = true;
            continue;
        }
        const QByteArray bytes = decoder.takeBytes();
        if (bytes.isEmpty())
            continue;
        message += bytes;
        switch (check()) {
        case Incomplete:
            break;
        case Unknown:
            report(QString("unknown message starting 0x%1; dropped")
                       .arg(QString(message.left(4).toHex())));
            dropping = true;
            break;
        case Complete:
            if (++messageCount == faults.dropMessage) {
                report(QString("message %1 dropped on purpose").arg(messageCount));
            } else {
                const QByteArray reply = answer();
                if (!reply.isEmpty())
                    replies.append(reply);
            }
            message.clear();
            break;
        }
    }
    return replies;
}

void VirtualWheel::idle()
{
    if (!dropping && (!message.isEmpty() || !decoder.atByteBoundary()))
        report(QString("incomplete message of %1 bytes dropped").arg(message.size()));
    dropping = false;
    message.clear();
    decoder.reset();
}

VirtualWheel::Check VirtualWheel::check() const
{
    switch (message[0]) {
    case '\0':
        return Complete;
    case 'I':
        if (message.size() < 2)
            return Incomplete;
        return message[1] == 'D' ? Complete : Unknown;
    case 'S':
        if (!QByteArray("SAv").startsWith(message.left(3)))
            return Unknown;
        return message.size() == 3 + frameSize + 1 ? Complete : Incomplete;
    default:
        return Unknown;
    }
}

QByteArray VirtualWheel::answer()
{
    QByteArray reply;
    if (message[0] == '\0') {
        report("click");
        return reply;
    }
    if (message[0] == 'I') {
        reply = identity;
        report("identity request, answered " + QString::fromLatin1(identity.left(3)));
    } else {
        const int slot = quint8(message.back());
        const QByteArray frame = message.mid(3, frameSize);
        quint8 crc = crc8(frame);
        if (faults.wrongCrc)
            crc ^= 0xFF;
        reply = QByteArray(1, char(crc));
        if (!faults.silent)
            store(slot, frame);
        report(QString("store request for slot %1, %2 bytes, answered CRC 0x%3")
                   .arg(slot)
                   .arg(frame.size())
                   .arg(crc, 2, 16, QChar('0')));
    }
    if (faults.shortReply)
        reply.chop(1);
    if (faults.silent)
        reply.clear();
    return reply;
}

void VirtualWheel::store(int slot, const QByteArray& frame)
{
    frames.insert(slot, frame);
    if (!storeFolder.isEmpty() && !writeFiles(slot, frame))
        report("cannot write the frame of slot " + QString::number(slot) + " to " + storeFolder);
}

bool VirtualWheel::writeFiles(int slot, const QByteArray& frame) const
{
    if (!QDir().mkpath(storeFolder))
        return false;
    const QString base = QDir(storeFolder).filePath(QString("slot-%1").arg(slot));
    QSaveFile raw(base + ".bin");
    if (!raw.open(QIODevice::WriteOnly) || raw.write(frame) != frame.size() || !raw.commit())
        return false;

    const QImage face = FramePicture::draw(frame, WheelWeb(lines, leds, outer, inner));
    QSaveFile picture(base + ".png");
    return picture.open(QIODevice::WriteOnly) && face.save(&picture, "png") && picture.commit();
}

void VirtualWheel::report(const QString& text)
{
    reports << text;
    std::fprintf(stderr, "rimglow-wheel: %s\n", qPrintable(text));
}
