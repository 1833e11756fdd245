// Loaded into Wine (LD_PRELOAD) when the Windows tests plug the virtual wheel in as a COM port.
// It stands in for what Windows' serial driver allows and Wine 8.0 refuses:
// - Windows' serial requests (purge, queue sizes, line state, time-outs) need no particular
//   access to the port, so they work on a port opened for writing only, as the dongle's send
//   side opens it. Wine asks for read access and answers "access denied". The shim grants read
//   access on serial handles where Wine's server reports a handle's access to its client: the
//   reply to request 47 (get_handle_fd) of Wine 8.0's protocol.
// - A pseudo-terminal has no line and takes some 16 KB at once, where the dongle's chip holds
//   a few hundred bytes and Windows' write returns when the rest is on the line. So a write to
//   a pseudo-terminal here takes the line's time, ten bit times a byte at 384615 baud, and a
//   purge of the transmit queue finds nothing left to take back: only the receive side of a
//   flush reaches the terminal.
// Everything else goes to the C library untouched.
#include <dlfcn.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/uio.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <thread>

namespace {

// Wine 8.0's server protocol: every request and reply has a fixed part of 64 bytes.
const size_t fixedSize = 64;
const int getHandleFdRequest = 47;
struct HandleFdReply {
    unsigned error;
    unsigned size;
    int type;
    int cacheable;
    unsigned access;
    unsigned options;
};
const int serialType = 4;
const unsigned readAccess = 0x1; // FILE_READ_DATA

thread_local bool askedForFd = false;

const double lineBytesPerSecond = 384615.0 / 10;

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

extern "C" ssize_t write(int fd, const void* buffer, size_t count)
{
    static const auto real = next<ssize_t (*)(int, const void*, size_t)>("write");
    if (count == fixedSize)
        askedForFd = *static_cast<const int*>(buffer) == getHandleFdRequest;
    if (!isPseudoTerminal(fd))
        return real(fd, buffer, count);
    // In small pieces, so that the bytes flow as on a line rather than in bursts.
    const auto start = std::chrono::steady_clock::now();
    const auto* bytes = static_cast<const char*>(buffer);
    size_t written = 0;
    while (written < count) {
        const ssize_t piece = real(fd, bytes + written, std::min<size_t>(count - written, 64));
        if (piece <= 0)
            return written > 0 ? ssize_t(written) : piece;
        written += size_t(piece);
        std::this_thread::sleep_until(
            start + std::chrono::duration<double>(double(written) / lineBytesPerSecond));
    }
    return ssize_t(written);
}

extern "C" ssize_t writev(int fd, const iovec* parts, int count)
{
    static const auto real = next<ssize_t (*)(int, const iovec*, int)>("writev");
    if (count > 0 && parts[0].iov_len == fixedSize)
        askedForFd = *static_cast<const int*>(parts[0].iov_base) == getHandleFdRequest;
    return real(fd, parts, count);
}

extern "C" ssize_t read(int fd, void* buffer, size_t count)
{
    static const auto real = next<ssize_t (*)(int, void*, size_t)>("read");
    const ssize_t got = real(fd, buffer, count);
    if (askedForFd && count == fixedSize && got == ssize_t(fixedSize)) {
        askedForFd = false;
        auto* reply = static_cast<HandleFdReply*>(buffer);
        if (reply->error == 0 && reply->type == serialType)
            reply->access |= readAccess;
    }
    return got;
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
