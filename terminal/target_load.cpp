// The steps of a load around the download's worker.
#include "terminal/target_load.h"

#include "terminal/download_texts.h"
#include "terminal/load_command.h"
#include "terminal/load_file_check.h"
#include "terminal/terminal_texts.h"

#include "records/text_lines.h"

#include <algorithm>

namespace torva {

bool TargetLoad::start(const std::string& path, std::string_view load_command, SerialLink& link,
                       DownloadUi& ui) {
    using namespace download_message;
    std::ifstream file;
    if (!open_regular_file(path, file)) {
        ui.error_box(message_with_text(kCantOpen, path));
        return false;
    }
    // The monitor would take a broken record as best it can, or type what
    // follows as commands: ask before sending one.
    const LoadFileCheck check = check_load_file(file);
    if (check.error_line != 0 &&
        !ui.question_box(message_with_count(kFileHasErrors, check.error_line)))
        return false;
    file.clear();
    file.seekg(0);
    lines_ = check.lines;
    link_ = &link;

    send_load_command(link, load_command, [&ui](char escaped) {
        ui.error_box(message_with_char(kIllegalEscape, escaped));
    });
    ui.status_text(kLoading);
    if (!download_.start(std::move(file), link)) {
        ui.error_box(kCantCreateThread);
        ui.status_ready();
        return false;
    }
    // Without pacing the worker queues the file at once and never waits:
    // with it done, the terminal's next poll hands the board everything.
    if (!link.paced()) download_.wait();
    return true;
}

void TargetLoad::request_stop() {
    download_.request_stop();
    if (link_ && !link_->paced()) link_->drop_unsent();
}

bool TargetLoad::finished() {
    if (!download_.finished()) return false;
    if (!link_ || link_->paced() || download_.write_failed() || download_.stop_requested())
        return true;
    return link_->unsent() == 0;
}

int TargetLoad::lines_gone() {
    const uint64_t taken = download_.bytes_sent();
    return download_.lines_within(taken - std::min<uint64_t>(taken, link_->unsent()));
}

void TargetLoad::finish(DownloadUi& ui) {
    download_.wait();
    if (!download_.write_failed()) {
        ui.status_ready();
        return;
    }
    std::string reason = link_->write_failure();
    if (reason.empty()) reason = terminal_message::kNothingWent;
    ui.download_failed(reason, lines_gone(), lines_);
}

std::string TargetLoad::progress_text() {
    const int sent = link_ && !link_->paced() ? lines_gone() : download_.lines_sent();
    if (sent == 0) return download_message::kLoading;
    return loading_line_text(sent, lines_);
}

} // namespace torva
