// The download's worker thread and "Stop load".
#include "terminal/download.h"

#include "terminal/load_file_check.h"

#include "records/text_lines.h"

#include <algorithm>
#include <string>
#include <system_error>

namespace torva {

Download::Download(Sleep sleep) : sleep_(std::move(sleep)) {}

Download::~Download() {
    if (worker_.joinable()) {
        request_stop();
        worker_.join();
    }
}

void Download::pause(Milliseconds time) const {
    if (!paced_) return;
    if (sleep_)
        sleep_(time);
    else
        std::this_thread::sleep_for(time);
}

bool Download::start(std::ifstream file, SerialLink& link) {
    wait();
    link_ = &link;
    paced_ = link.paced();
    abort_requested_ = false;
    line_ends_.clear();
    lines_sent_ = 0;
    write_failed_ = false;
    finished_ = false;
    try {
        worker_ = std::thread(&Download::run, this, std::move(file));
    } catch (const std::system_error&) {
        finished_ = true;
        return false;
    }
    return true;
}

void Download::run(std::ifstream file) {
    pause(kCommandPause);
    LineReader reader(file, kMaxDownloadLine);
    std::string line;
    uint64_t sent = 0;
    while (reader.next(line) && !ends_download(line)) {
        line.push_back('\n');
        pause(kLinePause);
        {
            const std::lock_guard lock(write_mutex_);
            if (abort_requested_) break;
            // A link that refuses a line has failed (a port that sends
            // nothing): what follows would not arrive either.
            if (link_->write(line) != line.size()) {
                write_failed_ = true;
                break;
            }
            sent += line.size();
            line_ends_.push_back(sent);
            ++lines_sent_;
        }
        pause(kLinePause);
    }
    finished_ = true;
}

void Download::request_stop() {
    const std::lock_guard lock(write_mutex_);
    abort_requested_ = true;
}

bool Download::stop_requested() {
    const std::lock_guard lock(write_mutex_);
    return abort_requested_;
}

uint64_t Download::bytes_sent() {
    const std::lock_guard lock(write_mutex_);
    return line_ends_.empty() ? 0 : line_ends_.back();
}

int Download::lines_within(uint64_t bytes) {
    const std::lock_guard lock(write_mutex_);
    return int(std::upper_bound(line_ends_.begin(), line_ends_.end(), bytes) - line_ends_.begin());
}

void Download::wait() {
    if (worker_.joinable()) worker_.join();
}

} // namespace torva
