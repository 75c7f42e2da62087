// A command-line tool running beside the test: its standard error read
// through a pipe (for lines such as "SCI0: /dev/pts/3"), stopped when the
// object goes. Also reading and writing a terminal device with timeouts.
#pragma once

#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <string_view>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>
#include <vector>

namespace torva::test {

using namespace std::chrono_literals;

class SpawnedTool {
public:
    // Starts program with args; standard input comes from /dev/null,
    // standard output goes to stdout_file (or /dev/null).
    SpawnedTool(const std::string& program, const std::vector<std::string>& args,
                const std::string& stdout_file = {}) {
        int pipe_fds[2];
        if (::pipe(pipe_fds) != 0) return;
        std::vector<char*> argv;
        argv.push_back(const_cast<char*>(program.c_str()));
        for (const std::string& arg : args)
            argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        pid_ = ::fork();
        if (pid_ == 0) {
            const int null = ::open("/dev/null", O_RDWR);
            ::dup2(null, 0);
            ::dup2(stdout_file.empty()
                       ? null
                       : ::open(stdout_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644),
                   1);
            ::dup2(pipe_fds[1], 2);
            ::close(pipe_fds[0]);
            ::execv(program.c_str(), argv.data());
            ::_exit(127);
        }
        ::close(pipe_fds[1]);
        err_ = pipe_fds[0];
    }
    ~SpawnedTool() {
        if (pid_ > 0 && status_ < 0) {
            ::kill(pid_, SIGTERM);
            ::waitpid(pid_, nullptr, 0);
        }
        if (err_ >= 0) ::close(err_);
    }
    SpawnedTool(const SpawnedTool&) = delete;
    SpawnedTool& operator=(const SpawnedTool&) = delete;

    bool started() const { return pid_ > 0; }
    void send_signal(int signal) const {
        if (pid_ > 0) ::kill(pid_, signal);
    }
    // Standard error up to and including the first line that starts with
    // prefix, within timeout; the rest of that line (without the line end),
    // or empty.
    std::string stderr_line(std::string_view prefix, std::chrono::milliseconds timeout = 10s) {
        const auto end = std::chrono::steady_clock::now() + timeout;
        for (;;) {
            for (size_t at = 0; at < stderr_.size();) {
                const size_t line_end = stderr_.find('\n', at);
                if (line_end == std::string::npos) break;
                const std::string_view line(stderr_.data() + at, line_end - at);
                if (line.starts_with(prefix)) return std::string(line.substr(prefix.size()));
                at = line_end + 1;
            }
            if (!read_some(err_, stderr_, end)) return {};
        }
    }
    const std::string& stderr_text() const { return stderr_; }
    // The exit status once the tool ended within timeout; -1 otherwise.
    int wait_exit(std::chrono::milliseconds timeout = 10s) {
        const auto end = std::chrono::steady_clock::now() + timeout;
        while (status_ < 0 && std::chrono::steady_clock::now() < end) {
            int status = 0;
            if (::waitpid(pid_, &status, WNOHANG) == pid_)
                status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            else
                ::usleep(10'000);
        }
        return status_;
    }

    // Reads what is there from fd into text, waiting until end at most;
    // false at the deadline or the end of the input.
    static bool read_some(int fd, std::string& text, std::chrono::steady_clock::time_point end) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            end - std::chrono::steady_clock::now());
        if (left.count() <= 0) return false;
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, int(left.count())) <= 0) return false;
        char buffer[512];
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got <= 0) return false;
        text.append(buffer, size_t(got));
        return true;
    }

private:
    pid_t pid_ = -1;
    int err_ = -1;
    int status_ = -1;
    std::string stderr_;
};

// A terminal device opened raw for reading and writing; closed when it goes.
class TerminalDevice {
public:
    explicit TerminalDevice(const std::string& path) {
        fd_ = ::open(path.c_str(), O_RDWR | O_NOCTTY);
        termios mode{};
        if (fd_ >= 0 && ::tcgetattr(fd_, &mode) == 0) {
            ::cfmakeraw(&mode);
            ::tcsetattr(fd_, TCSANOW, &mode);
        }
    }
    ~TerminalDevice() {
        if (fd_ >= 0) ::close(fd_);
    }
    TerminalDevice(const TerminalDevice&) = delete;
    TerminalDevice& operator=(const TerminalDevice&) = delete;

    bool is_open() const { return fd_ >= 0; }
    bool write(std::string_view text) {
        while (!text.empty()) {
            const ssize_t put = ::write(fd_, text.data(), text.size());
            if (put < 0 && errno == EINTR) continue;
            if (put <= 0) return false;
            text.remove_prefix(size_t(put));
        }
        return true;
    }
    // Everything read until it ends with `tail` (or the timeout): all read so far.
    std::string read_until(std::string_view tail, std::chrono::milliseconds timeout = 10s) {
        const auto end = std::chrono::steady_clock::now() + timeout;
        while (!received_.ends_with(tail) && SpawnedTool::read_some(fd_, received_, end)) {
        }
        std::string all;
        all.swap(received_);
        return all;
    }

private:
    int fd_ = -1;
    std::string received_;
};

} // namespace torva::test
