#include "output.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#else
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace webpull::output {

namespace {

bool g_failed = false;

#ifdef _WIN32
// The runtime's _write applies the descriptor's text mode; a block is far below its int limit.
int write_some(const char* data, size_t size) { return _write(1, data, static_cast<unsigned>(size)); }
#else
long write_some(const char* data, size_t size) {
    ssize_t written;
    do {
        written = ::write(1, data, size);
    } while (written < 0 && errno == EINTR);
    return static_cast<long>(written);
}
#endif

}  // namespace

void start(bool text_mode) {
#ifdef _WIN32
    if (!text_mode) _setmode(1, _O_BINARY);
#else
    (void)text_mode;  // no text mode here: bytes pass unchanged either way
    for (int fd = 0; fd <= 2; ++fd) {
        if (fcntl(fd, F_GETFD) >= 0 || errno != EBADF) continue;
        // open returns the lowest free descriptor: this one, as the lower ones are open.
        const int taken = open("/dev/null", fd == 1 ? O_RDONLY : O_RDWR);
        if (taken >= 0 && taken != fd) close(taken);
    }
    std::signal(SIGPIPE, SIG_IGN);
#endif
}

bool write(const char* data, size_t size) {
    while (size > 0 && !g_failed) {
        const auto written = write_some(data, size);
        if (written <= 0) {
            g_failed = true;
            break;
        }
        data += written;
        size -= static_cast<size_t>(written);
    }
    return !g_failed;
}

bool print(const char* format, ...) {
    char text[512];
    va_list arguments;
    va_start(arguments, format);
    const int wanted = std::vsnprintf(text, sizeof text, format, arguments);
    va_end(arguments);
    return write(text, wanted < 0 ? 0 : std::min(static_cast<size_t>(wanted), sizeof text - 1));
}

bool failed() { return g_failed; }

}  // namespace webpull::output
