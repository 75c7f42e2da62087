// The state of one terminal window without the window: its port, settings,
// grid, log file, flags and the last file downloaded; what a received byte
// or a typed key does, the title and the context menu.
#pragma once

#include "terminal/bootstrap_options.h"
#include "terminal/port_numbering.h"
#include "terminal/terminal_grid.h"
#include "terminal/terminal_settings.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <span>
#include <string>
#include <vector>

namespace torva {

class TerminalSession {
public:
    // Polls read at most this many bytes at a time.
    static constexpr size_t kReadChunk = 512;
    // Polls come this often, in milliseconds.
    static constexpr int kPollMilliseconds = 100;
    // The grid a new window is sized for.
    static constexpr int kStartColumns = 80;
    static constexpr int kStartRows = 25;

    TerminalSession(SerialPortEntry port, TerminalSettings settings);

    const SerialPortEntry& port() const { return port_; }
    TerminalSettings& settings() { return settings_; }
    const TerminalSettings& settings() const { return settings_; }
    TerminalGrid& grid() { return grid_; }
    const TerminalGrid& grid() const { return grid_; }

    // Received bytes in order: each is logged (all but carriage returns)
    // and put on the grid with the receive translation. Gives whether the
    // grid scrolled.
    bool receive(std::span<const uint8_t> bytes);
    // The writes a typed character makes, each its own string: Enter (a
    // carriage return) as the keyboard translation says, every other
    // character as itself. Nothing during a download.
    std::vector<std::string> typed(uint8_t character) const;

    std::string title() const;

    // Logging to a file written from its start (an older, longer log does
    // not keep its tail). False when the file cannot be created.
    bool start_logging(const std::filesystem::path& file);
    void stop_logging();
    bool logging() const { return log_.is_open(); }

    // Set around a download; the window refuses to close meanwhile.
    bool download_in_progress() const { return downloading_; }
    void set_download_in_progress(bool on) { downloading_ = on; }
    // The last file downloaded through this window ("" for none yet).
    const std::string& last_load_path() const { return last_load_path_; }
    void set_last_load_path(std::string path) { last_load_path_ = std::move(path); }
    // The bootstrap dialog's files and choices, kept while the window is open.
    BootstrapOptions& bootstrap_options() { return bootstrap_options_; }
    bool settings_changed() const { return settings_changed_; }
    void mark_settings_changed() { settings_changed_ = true; }

    // The right button's pop-up menu; id 0 is a separator.
    struct MenuEntry {
        std::string text;
        int id;
    };
    std::vector<MenuEntry> context_menu() const;

private:
    SerialPortEntry port_;
    TerminalSettings settings_;
    TerminalGrid grid_{kStartColumns, kStartRows};
    std::ofstream log_;
    bool downloading_ = false;
    bool settings_changed_ = false;
    std::string last_load_path_;
    BootstrapOptions bootstrap_options_;
};

} // namespace torva
