// Reading a file descriptor for the serial console without waiting.
#include "tools/fd_input.h"

#include <cerrno>
#include <poll.h>
#include <unistd.h>

namespace torva {

bool FdInput::read_available(std::string& bytes) {
    pollfd fd{fd_, POLLIN, 0};
    if (::poll(&fd, 1, 0) <= 0) return true; // nothing yet (or a signal came)
    char buffer[4096];
    const ssize_t got = ::read(fd_, buffer, sizeof buffer);
    if (got > 0) {
        bytes.append(buffer, size_t(got));
        return true;
    }
    // 0 is the end of the input; a read that would wait gives nothing yet.
    return got < 0 && (errno == EAGAIN || errno == EINTR);
}

} // namespace torva
