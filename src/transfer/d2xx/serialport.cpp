#include "serialport.h"

#include <QDeadlineTimer>
#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

#if defined(Q_OS_LINUX)
// termios2 sets any baud rate exactly; it cannot be mixed with <termios.h>.
#include <asm/termbits.h>
typedef struct termios2 LineSettings;
#define GET_LINE TCGETS2
#define SET_LINE TCSETS2
#else
#include <termios.h>
#if defined(Q_OS_MACOS)
#include <IOKit/serial/ioss.h>
#endif
typedef struct termios LineSettings;
#define GET_LINE TIOCGETA
#define SET_LINE TIOCSETA
#endif

namespace {

// Waits for the descriptor to become ready until the deadline; false on time-out, error or
// hang-up.
bool waitFor(int fd, short events, const QDeadlineTimer& deadline)
{
    pollfd entry{fd, events, 0};
    for (;;) {
        const int result = ::poll(&entry, 1, int(qMin<qint64>(deadline.remainingTime(), 1 << 30)));
        if (result > 0)
            return entry.revents & events;
        if (result == 0 || errno != EINTR)
            return false;
    }
}

} // namespace

bool SerialPort::open(const QString& path)
{
    close();
    fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    // No other program may interleave its bytes with an exchange.
    LineSettings line;
    if (::ioctl(fd, TIOCEXCL) != 0 || ::ioctl(fd, GET_LINE, &line) != 0) {
        close();
        return false;
    }
    line.c_iflag &= ~(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON | IXOFF);
    line.c_oflag &= ~OPOST;
    line.c_lflag &= ~(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
    line.c_cflag |= CLOCAL | CREAD;
    line.c_cc[VMIN] = 0;
    line.c_cc[VTIME] = 0;
    if (::ioctl(fd, SET_LINE, &line) != 0) {
        close();
        return false;
    }
    return true;
}

bool SerialPort::close()
{
    if (fd < 0)
        return true;
    // Exclusive mode outlives this descriptor while another one holds the terminal open.
    ::ioctl(fd, TIOCNXCL);
    const int result = ::close(fd);
    fd = -1;
    return result == 0;
}

bool SerialPort::setBaudRate(int rate)
{
    LineSettings line;
    if (rate <= 0 || ::ioctl(fd, GET_LINE, &line) != 0)
        return false;
#if defined(Q_OS_LINUX)
    line.c_cflag &= ~CBAUD;
    line.c_cflag |= BOTHER;
    line.c_ispeed = rate;
    line.c_ospeed = rate;
    if (::ioctl(fd, SET_LINE, &line) != 0)
        return false;
#elif defined(Q_OS_MACOS)
    speed_t speed = rate;
    if (::ioctl(fd, IOSSIOSPEED, &speed) != 0)
        return false;
#else
    if (cfsetspeed(&line, rate) != 0 || ::ioctl(fd, SET_LINE, &line) != 0)
        return false;
#endif
    baudRate = rate;
    return true;
}

bool SerialPort::setDataCharacteristics(int dataBits, int stopBits, Parity parity)
{
    LineSettings line;
    if (::ioctl(fd, GET_LINE, &line) != 0)
        return false;
    line.c_cflag &= ~(CSIZE | CSTOPB | PARENB | PARODD);
    switch (dataBits) {
    case 5:
        line.c_cflag |= CS5;
        break;
    case 6:
        line.c_cflag |= CS6;
        break;
    case 7:
        line.c_cflag |= CS7;
        break;
    default:
        line.c_cflag |= CS8;
        break;
    }
    if (stopBits == 2)
        line.c_cflag |= CSTOPB;
    if (parity != NoParity)
        line.c_cflag |= PARENB;
    if (parity == OddParity)
        line.c_cflag |= PARODD;
    return ::ioctl(fd, SET_LINE, &line) == 0;
}

bool SerialPort::setNoFlowControl()
{
    LineSettings line;
    if (::ioctl(fd, GET_LINE, &line) != 0)
        return false;
    line.c_cflag &= ~CRTSCTS;
    line.c_iflag &= ~(IXON | IXOFF | IXANY);
    return ::ioctl(fd, SET_LINE, &line) == 0;
}

void SerialPort::setTimeouts(int readMs, int writeMs)
{
    readTimeout = readMs;
    writeTimeout = writeMs;
}

qint64 SerialPort::write(const char* data, qint64 size)
{
    if (fd < 0)
        return -1;
    // Ten bit times a byte: start, eight data bits and a stop bit.
    const qint64 lineTime = size * 10 * 1000 / baudRate;
    const QDeadlineTimer deadline(writeTimeout > 0 ? writeTimeout : 2 * lineTime + 1000);
    qint64 written = 0;
    while (written < size) {
        const ssize_t result = ::write(fd, data + written, size_t(size - written));
        if (result > 0) {
            written += result;
            continue;
        }
        if (result < 0 && errno != EAGAIN && errno != EINTR)
            return -1;
        if (!waitFor(fd, POLLOUT, deadline))
            break;
    }
    return written;
}

qint64 SerialPort::read(char* data, qint64 size)
{
    if (fd < 0)
        return -1;
    const QDeadlineTimer deadline(readTimeout);
    qint64 got = 0;
    while (got < size) {
        const ssize_t result = ::read(fd, data + got, size_t(size - got));
        if (result > 0) {
            got += result;
            continue;
        }
        // Without a minimum count a terminal read returns 0, not EAGAIN, when nothing is there.
        if (result < 0 && errno != EAGAIN && errno != EINTR)
            return -1;
        if (!waitFor(fd, POLLIN, deadline))
            break;
    }
    return got;
}

bool SerialPort::drain()
{
#if defined(Q_OS_LINUX)
    return ::ioctl(fd, TCSBRK, 1) == 0;
#else
    return tcdrain(fd) == 0;
#endif
}

bool SerialPort::discardInput()
{
#if defined(Q_OS_LINUX)
    return ::ioctl(fd, TCFLSH, TCIFLUSH) == 0;
#else
    return tcflush(fd, TCIFLUSH) == 0;
#endif
}
