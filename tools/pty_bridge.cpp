// The pseudo-terminal of rt12run --sci0 pty.
#include "tools/pty_bridge.h"

#include "iosim/devices/serial_device.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace torva {

namespace {

std::string system_error(const char* what) {
    return std::string(what) + ": " + std::strerror(errno);
}

} // namespace

PtyBridge::~PtyBridge() {
    if (slave_ >= 0) ::close(slave_);
    if (master_ >= 0) ::close(master_);
}

bool PtyBridge::open(std::string& error) {
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (master_ < 0) {
        error = system_error("cannot make a pseudo-terminal");
        return false;
    }
    const char* name = nullptr;
    if (::grantpt(master_) != 0 || ::unlockpt(master_) != 0 || !(name = ::ptsname(master_))) {
        error = system_error("cannot unlock the pseudo-terminal");
        return false;
    }
    path_ = name;
    slave_ = ::open(name, O_RDWR | O_NOCTTY);
    termios mode{};
    if (slave_ < 0 || ::tcgetattr(slave_, &mode) != 0) {
        error = system_error(("cannot open " + path_).c_str());
        return false;
    }
    // Raw: every byte passes as it is, both ways, with no echo.
    ::cfmakeraw(&mode);
    if (::tcsetattr(slave_, TCSANOW, &mode) != 0) {
        error = system_error(("cannot set " + path_ + " to raw mode").c_str());
        return false;
    }
    return true;
}

void PtyBridge::exchange(SerialDevice& console) {
    char buffer[256];
    while (console.pending_input() < kMaxQueuedInput) {
        const size_t room = std::min(sizeof buffer, kMaxQueuedInput - console.pending_input());
        const ssize_t got = ::read(master_, buffer, room);
        if (got <= 0) break; // nothing waiting (EAGAIN), or no one at the other end
        console.type_text(std::string_view(buffer, size_t(got)));
    }
    pending_ += console.take_output();
    write_pending();
}

void PtyBridge::write_pending() {
    while (!pending_.empty()) {
        const ssize_t put = ::write(master_, pending_.data(), pending_.size());
        if (put <= 0) return; // the terminal's buffer is full: later
        pending_.erase(0, size_t(put));
    }
}

void PtyBridge::wait(const SerialDevice& console, int timeout_ms) const {
    const bool input = console.pending_input() < kMaxQueuedInput;
    pollfd fd{master_, short((input ? POLLIN : 0) | (pending_.empty() ? 0 : POLLOUT)), 0};
    ::poll(&fd, 1, timeout_ms);
}

void PtyBridge::flush(int timeout_ms) {
    int waited = 0;
    for (; !pending_.empty() && waited < timeout_ms; waited += 10) {
        write_pending();
        if (!pending_.empty()) {
            pollfd fd{master_, POLLOUT, 0};
            ::poll(&fd, 1, 10);
        }
    }
    // Closing the pseudo-terminal throws away what the other end has not
    // read yet: wait (within the time left) until it has. The bytes take a
    // moment to reach the terminal's queue, hence the first pause.
    ::usleep(20'000);
    int unread = 0;
    for (waited += 20; waited < timeout_ms; waited += 10) {
        if (::ioctl(slave_, FIONREAD, &unread) != 0 || unread == 0) break;
        ::usleep(10'000);
    }
}

} // namespace torva
