#ifndef WHEELTERMINAL_H
#define WHEELTERMINAL_H

#include <QString>

class VirtualWheel;

// The pseudo-terminal that stands in for the dongle's serial device: line bytes written to it
// reach the virtual wheel, and the wheel's replies come back on it.
class WheelTerminal {
public:
    WheelTerminal();
    ~WheelTerminal();
    WheelTerminal(const WheelTerminal&) = delete;
    WheelTerminal& operator=(const WheelTerminal&) = delete;

    bool isOpen() const { return master >= 0; }
    QString devicePath() const { return path; }
    QString errorString() const { return error; }

    // Takes line bytes no faster than the dongle's line, and sends replies at the reply rate.
    void setPaced(bool paced) { this->paced = paced; }
    // Extra time the wheel takes before each reply.
    void setReplyDelay(int ms) { replyDelay = ms; }

    // Serves the wheel until stopped is set (from a signal handler).
    void run(VirtualWheel* wheel, volatile bool* stopped);

private:
    void reply(const QByteArray& bytes);

    int master = -1;
    int keeper = -1;
    QString path;
    QString error;
    bool paced = false;
    int replyDelay = 0;
};

#endif
