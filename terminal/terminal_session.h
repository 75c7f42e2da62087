// The state of one terminal window without the window: its port, settings,
// grid, log file, flags, the download to the board and the last file
// downloaded; what a received byte or a typed key does, the title and the
// context menu.
#pragma once

#include "terminal/bootstrap_options.h"
#include "terminal/port_numbering.h"
#include "terminal/serial_link.h"
#include "terminal/target_load.h"
#include "terminal/terminal_grid.h"
#include "terminal/terminal_settings.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
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

    // From the start of a download (its questions included) to its end; the
    // window refuses to close meanwhile.
    bool download_in_progress() const { return starting_ || load_ != nullptr; }
    // Starts loading the file to the board's monitor over the link with the
    // load command, unless a load runs already; the ui shows the boxes and
    // the status texts. An empty path goes on too: the load says it cannot
    // open it. False when no load started.
    bool start_download(const std::string& path, SerialLink& link, DownloadUi& ui);
    // One look at a running load, as the progress timer takes it: the ui
    // shows how far it got, or, once it has ended, "Ready" or the failure,
    // and the file becomes the one Reload sends. True when the load ended
    // at this look.
    bool watch_download(DownloadUi& ui);
    // "Stop load": no further line goes, and the stop byte follows on the
    // link; the load ends at a later look.
    void stop_download(SerialLink& link);
    // Stops a running load at once and waits for it to end, with the status
    // bar's idle text: the link or the window is about to go, and nobody is
    // left to be told how far it got.
    void end_download_now(DownloadUi& ui);
    // The last file downloaded through this window ("" for none yet).
    const std::string& last_load_path() const { return last_load_path_; }
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
    // The running load and its file; the load ends before the link goes.
    std::unique_ptr<TargetLoad> load_;
    std::string load_path_;
    bool starting_ = false;
    bool settings_changed_ = false;
    std::string last_load_path_;
    BootstrapOptions bootstrap_options_;
};

} // namespace torva
