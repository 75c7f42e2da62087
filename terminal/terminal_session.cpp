// What a terminal does with bytes, keys, its log, its download and its menu.
#include "terminal/terminal_session.h"

#include "terminal/terminal_commands.h"
#include "terminal/terminal_texts.h"

namespace torva {
namespace {

constexpr uint8_t kCarriageReturn = 13;
constexpr size_t kShortenedPath = 30;

} // namespace

TerminalSession::TerminalSession(SerialPortEntry port, TerminalSettings settings)
    : port_(std::move(port)), settings_(std::move(settings)) {}

bool TerminalSession::receive(std::span<const uint8_t> bytes) {
    bool scrolled = false;
    for (const uint8_t c : bytes) {
        if (log_.is_open() && c != kCarriageReturn) log_.put(char(c));
        scrolled |= grid_.receive(c, settings_.receive);
    }
    if (log_.is_open()) log_.flush();
    return scrolled;
}

std::vector<std::string> TerminalSession::typed(uint8_t c) const {
    if (download_in_progress()) return {};
    if (c != kCarriageReturn) return {std::string(1, char(c))};
    std::vector<std::string> writes;
    for (const char byte : enter_key_bytes(settings_.keyboard))
        writes.emplace_back(1, byte);
    return writes;
}

std::string TerminalSession::title() const {
    return terminal_title(port_title_name(port_), settings_.serial, logging());
}

bool TerminalSession::start_logging(const std::filesystem::path& file) {
    if (log_.is_open()) log_.close();
    log_.open(file, std::ios::binary | std::ios::trunc);
    return log_.is_open();
}

void TerminalSession::stop_logging() {
    if (log_.is_open()) log_.close();
}

bool TerminalSession::start_download(const std::string& path, SerialLink& link, DownloadUi& ui) {
    if (download_in_progress()) return false;
    auto load = std::make_unique<TargetLoad>();
    // The file's questions come first: keys and closing wait for them too.
    starting_ = true;
    const bool started = load->start(path, settings_.load_command, link, ui);
    starting_ = false;
    if (!started) return false;
    load_ = std::move(load);
    load_path_ = path;
    return true;
}

bool TerminalSession::watch_download(DownloadUi& ui) {
    if (!load_) return false;
    if (!load_->finished()) {
        ui.status_text(load_->progress_text());
        return false;
    }
    load_->finish(ui);
    load_.reset();
    last_load_path_ = load_path_;
    return true;
}

void TerminalSession::stop_download(SerialLink& link) {
    if (!load_) return;
    load_->request_stop();
    const uint8_t stop = terminal_cmd::kStopByte;
    link.write(std::span(&stop, 1));
}

void TerminalSession::end_download_now(DownloadUi& ui) {
    if (!load_) return;
    load_->request_stop();
    load_->wait();
    load_.reset();
    ui.status_ready();
}

std::vector<TerminalSession::MenuEntry> TerminalSession::context_menu() const {
    using namespace terminal_cmd;
    if (download_in_progress()) return {{"Stop load", kStopDownload}};
    std::vector<MenuEntry> menu;
    if (!last_load_path_.empty()) {
        menu.push_back(
            {"Reload ( " + shorten_path(last_load_path_, kShortenedPath) + " )", kReload});
        menu.push_back({"", 0});
    }
    menu.push_back({"Load New", kDownload});
    menu.push_back({"", 0});
    if (logging())
        menu.push_back({"Stop Logging", kStopLogging});
    else
        menu.push_back({"Start Logging", kStartLogging});
    menu.push_back({"Setup", kSettings});
    // The bootstrap dialog has no other way in.
    menu.push_back({"Bootstrap...", kBootstrap});
    return menu;
}

} // namespace torva
