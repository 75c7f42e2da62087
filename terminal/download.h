// One load of a file to the board's monitor: a worker thread sends the file
// line by line, paced by two pauses per line (there is no waiting for
// echoes or prompts), while the terminal keeps reading the link.
#pragma once

#include "terminal/serial_link.h"

#include <atomic>
#include <chrono>
#include <fstream>
#include <functional>
#include <mutex>
#include <thread>

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
    // an "SX" line, which is not sent. False when the thread cannot start.
    bool start(std::ifstream file, SerialLink& link);
    // "Stop load": no line goes after this returns, so the stop byte the
    // caller then writes is the last thing the board gets.
    void request_stop();
    // The worker has ended (or never started).
    bool finished() const { return finished_; }
    // Waits for the worker to end.
    void wait();
    int lines_sent() const { return lines_sent_; }

private:
    void run(std::ifstream file);
    void pause(Milliseconds time) const;

    Sleep sleep_;
    SerialLink* link_ = nullptr;
    std::thread worker_;
    // The abort request is checked and the line written under one lock, so
    // no line can follow a stop request, not even one whose pause began
    // before it.
    std::mutex write_mutex_;
    bool abort_requested_ = false;
    std::atomic<bool> finished_{true};
    std::atomic<int> lines_sent_{0};
};

} // namespace torva
