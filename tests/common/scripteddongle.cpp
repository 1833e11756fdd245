#include "scripteddongle.h"

#include "linedecoder.h"

namespace {

// The message that line bytes carry, read as the virtual wheel reads them.
QByteArray decode(const QByteArray& line)
{
    LineDecoder decoder;
    for (char byte : line)
        decoder.feed(byte);
    return decoder.takeBytes();
}

} // namespace

class ScriptedWheel::Dongle : public Dongle_ {
public:
    explicit Dongle(ScriptedWheel* wheel)
        : wheel(wheel)
    {
    }

#ifdef Q_OS_WIN
    // The Windows build sends a message and reads its reply in two steps; a click awaits none.
    bool TX(QByteArray bytes) override
    {
        const QByteArray message = decode(bytes);
        if (message == QByteArray(1, '\0')) {
            wheel->record(message);
            return true;
        }
        pending = wheel->exchange(*this, message);
        error = pending.status == RECEIVE_FAILED ? OK : pending.status;
        return error == OK;
    }
    QByteArray RX(int const&) override
    {
        error = pending.status;
        return pending.reply;
    }
#else
    bool TX(QByteArray bytes) override
    {
        wheel->record(decode(bytes));
        return true;
    }
    QByteArray RX(int const&) override
    {
        return QByteArray();
    }
    QByteArray TX_RX(QByteArray bytes, int const&) override
    {
        const Answer answer = wheel->exchange(*this, decode(bytes));
        error = answer.status;
        return answer.reply;
    }
#endif

private:
    ScriptedWheel* wheel;
#ifdef Q_OS_WIN
    Answer pending;
#endif
};

DongleFactory ScriptedWheel::factory()
{
    return [this] { return std::make_unique<Dongle>(this); };
}

QStringList ScriptedWheel::messages() const
{
    QMutexLocker lock(&mutex);
    return log;
}

void ScriptedWheel::record(const QByteArray& message)
{
    QMutexLocker lock(&mutex);
    if (message == QByteArray(1, '\0'))
        log << "click";
    else if (message == "ID")
        log << "identity";
    else
        log << "store " + QString::number(quint8(message.back()));
}

ScriptedWheel::Answer ScriptedWheel::exchange(const Dongle_& dongle, const QByteArray& message)
{
    record(message);
    QMutexLocker lock(&mutex);
    const int number = exchanges++;
    if (answers.contains(number))
        return answers.value(number);
    if (message == "ID")
        return {identity};
    // "SAv", the frame, the slot.
    return {QByteArray(1, dongle.crc(message.mid(3, message.size() - 4)))};
}
