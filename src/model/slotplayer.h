#ifndef SLOTPLAYER_H
#define SLOTPLAYER_H

#include <QList>
#include <QObject>
#include <QTimer>

// Shows pictures one after another at a steady rate, round and round until stopped: the ticked
// slots of a design as the wheel will play them.
class SlotPlayer : public QObject {
    Q_OBJECT
public:
    static constexpr int slowest = 1;
    static constexpr int fastest = 30;

    explicit SlotPlayer(QObject* parent = nullptr);

    // Starts at the first picture; with none there is nothing to play.
    void play(const QList<int>& pictures);
    bool isPlaying() const { return timer.isActive(); }
    // Pictures per second, held between slowest and fastest.
    void setRate(int perSecond);
    int getRate() const { return rate; }

public slots:
    void stop();

signals:
    void showing(int picture);
    void stopped();

private:
    void next();

    QTimer timer;
    QList<int> pictures;
    qsizetype at = 0;
    int rate = 8;
};

#endif
