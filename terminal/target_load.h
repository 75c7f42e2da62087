// A load to the board from start to end, without the window: open and
// check the file, send the load command, run the download, tell its
// progress and whether every line went. The window shows the boxes and
// texts it is handed.
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
    // The link stopped taking the file (reason as the link gives it) after
    // lines_sent of its lines had gone.
    virtual void download_failed(const std::string& reason, int lines_sent, int lines) = 0;
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
    // "Stop load": no further line goes; the caller sends the stop byte. On
    // a link without pacing the lines the board has not taken yet are
    // dropped too, or the stop byte would wait behind them.
    void request_stop();
    // The worker has ended and, on a link without pacing, the board has
    // taken every byte (or the load was stopped or failed).
    bool finished();
    // Waits for the worker to end, and no more.
    void wait() { download_.wait(); }
    // Waits for the worker to end; the status bar shows "Ready" again, or,
    // when the link refused the file, the ui hears how far it got.
    void finish(DownloadUi& ui);
    // "Loading to target" until a line has gone, then "Loading to target:
    // line n of m"; without pacing the lines the board has taken.
    std::string progress_text();
    int lines() const { return lines_; }

private:
    // Lines that have reached the far end: those taken, less what still waits.
    int lines_gone();

    Download download_;
    SerialLink* link_ = nullptr;
    int lines_ = 0;
};

} // namespace torva
