#include "slotplayer.h"

SlotPlayer::SlotPlayer(QObject* parent)
    : QObject(parent)
{
    timer.setTimerType(Qt::PreciseTimer);
    setRate(rate);
    connect(&timer, &QTimer::timeout, this, &SlotPlayer::next);
}

void SlotPlayer::play(const QList<int>& sequence)
{
    stop();
    if (sequence.isEmpty())
        return;
    pictures = sequence;
    at = 0;
    timer.start();
    emit showing(pictures.first());
}

void SlotPlayer::stop()
{
    if (!timer.isActive())
        return;
    timer.stop();
    emit stopped();
}

void SlotPlayer::setRate(int perSecond)
{
    rate = qBound(slowest, perSecond, fastest);
    timer.setInterval(qRound(1000.0 / rate));
}

void SlotPlayer::next()
{
    at = (at + 1) % pictures.size();
    emit showing(pictures[at]);
}
