// Two pseudo-terminals joined by socat: what is written to one end is read
// at the other, as over a null-modem cable. The test holds the far end
// open as a plain file descriptor; the code under test opens the near one
// by its path.
#pragma once

#include "support/temp_dir.h"

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace torva::test {

class SocatPair {
public:
    SocatPair() {
        near_ = (dir_.path() / "near").string();
        far_ = (dir_.path() / "far").string();
        const std::string a = "pty,raw,echo=0,link=" + near_;
        const std::string b = "pty,raw,echo=0,link=" + far_;
        const char* argv[] = {"socat", a.c_str(), b.c_str(), nullptr};
        if (posix_spawnp(&pid_, "socat", nullptr, nullptr, const_cast<char**>(argv), environ) != 0)
            pid_ = -1;
        // socat makes the links once both pseudo-terminals exist.
        for (int i = 0; i < 500 && pid_ > 0; ++i) {
            if (std::filesystem::exists(near_) && std::filesystem::exists(far_)) break;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        if (std::filesystem::exists(far_))
            fd_ = ::open(far_.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (fd_ >= 0) {
            termios raw{};
            tcgetattr(fd_, &raw);
            cfmakeraw(&raw);
            tcsetattr(fd_, TCSANOW, &raw);
        }
    }
    ~SocatPair() {
        if (fd_ >= 0) ::close(fd_);
        if (pid_ > 0) {
            kill(pid_, SIGCONT); // a held relay would not end
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
        }
    }
    SocatPair(const SocatPair&) = delete;
    SocatPair& operator=(const SocatPair&) = delete;

    bool ready() const { return fd_ >= 0; }
    // Stops and restarts the relay between the two ends: while it is held,
    // what the near end writes waits in the system's queue, as on a line
    // whose far end reads nothing for a while.
    void hold() const { kill(pid_, SIGSTOP); }
    void release() const { kill(pid_, SIGCONT); }
    // The end the code under test opens.
    const std::string& near_path() const { return near_; }

    // Writes at the far end.
    void send(const std::string& bytes) const {
        size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
            if (n > 0)
                done += size_t(n);
            else
                wait_for(POLLOUT, 10);
        }
    }
    // What arrived at the far end within timeout_ms, or until count bytes came.
    std::string receive(size_t count, int timeout_ms = 2000) const {
        std::string got;
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
        while (got.size() < count && std::chrono::steady_clock::now() < end) {
            char buffer[256];
            const ssize_t n = ::read(fd_, buffer, sizeof buffer);
            if (n > 0)
                got.append(buffer, size_t(n));
            else
                wait_for(POLLIN, 10);
        }
        return got;
    }

private:
    void wait_for(short events, int ms) const {
        pollfd p{fd_, events, 0};
        poll(&p, 1, ms);
    }

    TempDir dir_;
    std::string near_;
    std::string far_;
    pid_t pid_ = -1;
    int fd_ = -1;
};

} // namespace torva::test
