// The download's worker thread and "Stop load".
#include "terminal/download.h"

#include "terminal/load_file_check.h"

#include "io/text_lines.h"

#include <string>
#include <system_error>

namespace torva {

Download::Download(Sleep sleep) : sleep_(std::move(sleep)) {}

Download::~Download() {
    if (worker_.joinable()) {
        {
            const std::lock_guard lock(write_mutex_);
            abort_requested_ = true;
        }
        worker_.join();
    }
}

void Download::pause(Milliseconds time) const {
    if (sleep_)
        sleep_(time);
    else
        std::this_thread::sleep_for(time);
}

bool Download::start(std::ifstream file, SerialLink& link) {
    wait();
    link_ = &link;
    abort_requested_ = false;
    lines_sent_ = 0;
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
    while (reader.next(line) && !ends_download(line)) {
        line.push_back('\n');
        pause(kLinePause);
        {
            const std::lock_guard lock(write_mutex_);
            if (abort_requested_) break;
            link_->write(line);
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

void Download::wait() {
    if (worker_.joinable()) worker_.join();
}

} // namespace torva
