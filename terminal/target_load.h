// A load to the board from start to end, without the window: open and
// check the file, send the load command, run the download and tell its
// progress. The window shows the boxes and texts it is handed.
#pragma once

#include "terminal/download.h"
#include "terminal/serial_link.h"

#include <string>
#include <string_view>

namespace torva {

// What a load asks of the window.
class DownloadUi {
public:
    virtual ~DownloadUi() = default;
    virtual void error_box(const std::string& text) = 0;
    // True for Yes.
    virtual bool question_box(const std::string& text) = 0;
    virtual void status_text(const std::string& text) = 0;
    // The status bar's idle text.
    virtual void status_ready() = 0;
};

class TargetLoad {
public:
    explicit TargetLoad(Download::Sleep sleep = {}) : download_(std::move(sleep)) {}

    // Opens the file ("Can't open (load): %s" when it cannot), checks it
    // (a file with errors asks "The load file has errors in line %d.
    // Download anyway?"; No sends nothing), sends the load command, shows
    // "Loading to target" and starts the worker. False when no load started.
    bool start(const std::string& path, std::string_view load_command, SerialLink& link,
               DownloadUi& ui);
    // "Stop load": no further line goes; the caller sends the stop byte.
    void request_stop() { download_.request_stop(); }
    bool finished() const { return download_.finished(); }
    // Waits for the worker to end; the status bar shows "Ready" again.
    void finish(DownloadUi& ui);
    // "Loading to target" until a line has gone, then "Loading to target:
    // line n of m".
    std::string progress_text() const;
    int lines() const { return lines_; }

private:
    Download download_;
    int lines_ = 0;
};

} // namespace torva
