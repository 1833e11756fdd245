// Loaded into Wine (LD_PRELOAD) when the Windows tests plug the virtual wheel in as a COM port.
// It stands in for what the FTDI driver does on a real Windows machine where a pseudo-terminal
// cannot:
// - Wine sets a baud rate outside the standard list (384615 and 1202 here) through the serial
//   driver's divisor (TIOCGSERIAL/TIOCSSERIAL), which a pseudo-terminal does not know; the
//   requests are answered here as a serial driver would answer them.
// - A pseudo-terminal has no transmitter: what a write put into it stands for bytes already on
//   the line, which a purge of the transmit queue can no longer take back. Only the receive
//   side of a flush reaches the terminal.
// Everything else, and every other file, goes to the C library untouched.
#include <dlfcn.h>
#include <linux/serial.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <termios.h>

#include <cstdarg>
#include <cstring>

namespace {

// The slaves of Unix 98 pseudo-terminals have the majors 136 to 143.
bool isPseudoTerminal(int fd)
{
    struct stat info;
    return fstat(fd, &info) == 0 && S_ISCHR(info.st_mode) && major(info.st_rdev) >= 136 &&
           major(info.st_rdev) <= 143;
}

template <typename Function>
Function next(const char* name)
{
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

} // namespace

extern "C" int ioctl(int fd, unsigned long request, ...)
{
    va_list arguments;
    va_start(arguments, request);
    void* argument = va_arg(arguments, void*);
    va_end(arguments);
    if ((request == TIOCGSERIAL || request == TIOCSSERIAL) && isPseudoTerminal(fd)) {
        if (request == TIOCGSERIAL) {
            // An FTDI chip's 24 MHz clock through its 16-times sampling.
            serial_struct serial;
            std::memset(&serial, 0, sizeof(serial));
            serial.type = PORT_16550A;
            serial.baud_base = 1500000;
            std::memcpy(argument, &serial, sizeof(serial));
        }
        return 0;
    }
    static const auto real = next<int (*)(int, unsigned long, void*)>("ioctl");
    return real(fd, request, argument);
}

extern "C" int tcflush(int fd, int queue)
{
    static const auto real = next<int (*)(int, int)>("tcflush");
    if (isPseudoTerminal(fd)) {
        if (queue == TCOFLUSH)
            return 0;
        if (queue == TCIOFLUSH)
            queue = TCIFLUSH;
    }
    return real(fd, queue);
}
