// One load of a file to the board's monitor: a worker thread sends the file
// line by line while the terminal keeps reading the link. Over a real line
// two pauses per line pace it (there is no waiting for echoes or prompts);
// the simulated board's console, which holds every byte until the program
// takes it, needs no pauses.
#pragma once

#include "terminal/serial_link.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <fstream>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace torva {

class Download {
public:
    using Milliseconds = std::chrono::milliseconds;
    using Sleep = std::function<void(Milliseconds)>;

    // Before the first line: time for the monitor to take its load command.
    static constexpr Milliseconds kCommandPause{250};
    // Before and after each line.
    static constexpr Milliseconds kLinePause{50};

    // sleep makes the pauses (tests record them); by default the worker sleeps.
    explicit Download(Sleep sleep = {});
    // Stops the worker and waits for it.
    ~Download();
    Download(const Download&) = delete;
    Download& operator=(const Download&) = delete;

    // Sends the file from where it stands: each line (without its line end)
    // followed by one line feed in one write, until the end of the file or
    // an "SX" line, which is not sent, or until the link refuses a line.
    // The pauses only where the link is paced. False when the thread
    // cannot start.
    bool start(std::ifstream file, SerialLink& link);
    // "Stop load": no line goes after this returns, so the stop byte the
    // caller then writes is the last thing the board gets.
    void request_stop();
    bool stop_requested();
    // The worker has ended (or never started).
    bool finished() const { return finished_; }
    // Waits for the worker to end.
    void wait();
    // Lines the link took.
    int lines_sent() const { return lines_sent_; }
    // The link refused a line: the worker ended there.
    bool write_failed() const { return write_failed_; }
    // Bytes of the file the link took.
    uint64_t bytes_sent();
    // How many of the lines taken end within the first `bytes` bytes of the
    // file (the lines that have left when that many have).
    int lines_within(uint64_t bytes);

private:
    void run(std::ifstream file);
    void pause(Milliseconds time) const;

    Sleep sleep_;
    SerialLink* link_ = nullptr;
    bool paced_ = true;
    std::thread worker_;
    // The abort request is checked and the line written under one lock, so
    // no line can follow a stop request, not even one whose pause began
    // before it. The line ends are kept under it too.
    std::mutex write_mutex_;
    bool abort_requested_ = false;
    // Where each line taken ends, counted in bytes from the file's start.
    std::vector<uint64_t> line_ends_;
    std::atomic<bool> finished_{true};
    std::atomic<bool> write_failed_{false};
    std::atomic<int> lines_sent_{0};
};

} // namespace torva
