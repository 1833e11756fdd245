#include "wheelterminal.h"

#include "virtualwheel.h"

#include <QElapsedTimer>
#include <QThread>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace {

// 384615 baud at ten bit times a byte, and 1202 baud at twelve (start, eight data bits,
// parity and two stop bits).
const double lineBytesPerSecond = 384615.0 / 10;
const double replyBytesPerSecond = 1202.0 / 12;
// A real wheel needs a moment to turn from listening to answering; the dongle side uses it to
// switch its line to the reply settings.
const int turnaroundMs = 20;
// A message arrives in one piece; this long a pause ends a half-received one.
const int idleMs = 200;

} // namespace

WheelTerminal::WheelTerminal()
{
    master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) {
        error = QString("cannot open a pseudo-terminal: ") + std::strerror(errno);
        if (master >= 0)
            ::close(master);
        master = -1;
        return;
    }
    path = QString::fromLocal8Bit(ptsname(master));
    // Held open so that the terminal, and its settings, survive the program closing its side
    // between exchanges.
    keeper = ::open(ptsname(master), O_RDWR | O_NOCTTY | O_CLOEXEC);
    termios line;
    if (keeper >= 0 && tcgetattr(keeper, &line) == 0) {
        cfmakeraw(&line);
        tcsetattr(keeper, TCSANOW, &line);
    }
}

WheelTerminal::~WheelTerminal()
{
    if (keeper >= 0)
        ::close(keeper);
    if (master >= 0)
        ::close(master);
}

void WheelTerminal::run(VirtualWheel* wheel, volatile bool* stopped)
{
    QElapsedTimer quiet;
    quiet.start();
    QElapsedTimer burst;
    qint64 burstBytes = 0;
    bool receiving = false;
    char buffer[4096];
    while (!*stopped) {
        pollfd entry{master, POLLIN, 0};
        const int ready = ::poll(&entry, 1, 20);
        if (ready < 0 && errno != EINTR)
            break;
        if (ready <= 0 || !(entry.revents & POLLIN)) {
            if (receiving && quiet.elapsed() >= idleMs) {
                wheel->idle();
                receiving = false;
            }
            continue;
        }
        // Paced, the wheel takes small pieces at the line's own rate, so the writer waits for
        // the line as it would on the real dongle.
        const size_t chunk = paced ? 64 : sizeof(buffer);
        const ssize_t got = ::read(master, buffer, chunk);
        if (got <= 0)
            continue;
        if (!receiving || !burst.isValid() || quiet.elapsed() > 5) {
            burst.start();
            burstBytes = 0;
        }
        receiving = true;
        burstBytes += got;
        if (paced) {
            const qint64 due = qint64(burstBytes * 1000 / lineBytesPerSecond);
            if (due > burst.elapsed())
                QThread::msleep(quint64(due - burst.elapsed()));
        }
        quiet.start();
        for (const QByteArray& answer : wheel->receive(QByteArray(buffer, int(got))))
            reply(answer);
    }
}

void WheelTerminal::reply(const QByteArray& bytes)
{
    QThread::msleep(turnaroundMs + replyDelay);
    for (int i = 0; i < bytes.size(); ++i) {
        if (paced)
            QThread::msleep(quint64(1000 / replyBytesPerSecond));
        if (::write(master, bytes.constData() + i, 1) != 1)
            return;
    }
}
