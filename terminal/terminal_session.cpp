// What a terminal does with bytes, keys, its log and its menu.
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
    if (downloading_) return {};
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

std::vector<TerminalSession::MenuEntry> TerminalSession::context_menu() const {
    using namespace terminal_cmd;
    if (downloading_) return {{"Stop load", kStopDownload}};
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
