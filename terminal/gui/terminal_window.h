// The terminal window "TV6RT12##TerminalChild": paints its session's grid
// in the screen font with the settings' colours, polls the serial link
// every 100 ms, sends typed keys, and runs the settings dialog, logging and
// the download to the board's monitor. The behaviour lives in the session;
// this class feeds it bytes and keys and paints it.
#pragma once

#include "shell/child_window.h"
#include "shell/download_target.h"
#include "terminal/port_store.h"
#include "terminal/serial_link.h"
#include "terminal/terminal_session.h"

#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>
#include <string>

namespace torva {

class ChildEvents;
class DialogHost;
class MenuRequests;
class MessageBoxes;
class SerialSettingsDialog;
class SharedLook;
class StatusLine;

// What a terminal window asks of the frame: its dialogs and boxes, the
// status bar, the screen font, the menus' and closing's bookkeeping, and
// the Reload its double click starts.
struct TerminalRoles {
    DialogHost& dialogs;
    StatusLine& status;
    const SharedLook& look;
    ChildEvents& events;
    MenuRequests& requests;
};

// Configures the link with settings (repaired in place); on failure shows
// the failing step's box, then "Can't set serial port parameters".
bool configure_link(SerialLink& link, SerialSettings& settings, MessageBoxes& boxes);

class TerminalWindow final : public QWidget,
                             public ChildWindow,
                             public DownloadTarget,
                             private DownloadUi {
    Q_OBJECT
public:
    static constexpr char kClassName[] = "TV6RT12##TerminalChild";
    // The status bar shows the download's progress this often.
    static constexpr int kProgressMilliseconds = 50;
    // On a link without pacing (the simulated board) the window polls this
    // often while bytes come or a download runs, so that text appears as
    // fast as the board sends it.
    static constexpr int kBusyPollMilliseconds = 16;

    // The link is open and configured with session's serial settings; the
    // store gets the port's settings back when the window goes.
    TerminalWindow(TerminalRoles frame, PortStore& store, TerminalSession session,
                   std::unique_ptr<SerialLink> link, QWidget* parent = nullptr);
    ~TerminalWindow() override;

    TerminalSession& session() { return session_; }
    SerialLink& link() { return *link_; }
    // One poll of the link, as the timer makes it: everything that has
    // arrived goes on the grid, and a write failure shows in the status bar.
    void poll();
    // The choice of a context menu entry, as the menu would take it.
    void run_menu_choice(int id);
    // Closes the window without asking (its link is gone): a download
    // stops first.
    void close_now();
    // Downloads the load file to the board's monitor, unless a download is
    // running; an empty or broken file gets its message box.
    void download(const std::string& path) override;

    QSize sizeHint() const override;

    // ChildWindow.
    QWidget& as_widget() override { return *this; }
    bool handle_command(int id, std::intptr_t parameter) override;
    bool close_query() override;
    void menu_popup(MenuItems& items, QMenu* popup) override;
    void child_activated() override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    // DownloadUi.
    void error_box(const std::string& text) override;
    bool question_box(const std::string& text) override;
    void status_text(const std::string& text) override;
    void status_ready() override;
    void download_failed(const std::string& reason, int lines_sent, int lines) override;

    void update_title();
    // Makes the window hold whole character cells (after a resize).
    void fit_to_grid();
    void run_settings_dialog();
    // The "BOOTSTRAPPER" dialog over this window's session and link.
    void run_bootstrap_dialog();
    void start_logging();
    // The progress timer's look at the running download.
    void watch_download();
    // Configures the link with the serial settings, with the step's box and
    // "Can't set serial port parameters" on failure.
    bool reconfigure();
    // "Can't write to <port>: <reason>" while the link fails writes; the
    // status bar's idle text again once it no longer does.
    void show_write_failure();
    void write_typed(const std::string& bytes);

    TerminalRoles frame_;
    PortStore& store_;
    std::unique_ptr<SerialLink> link_;
    // After the link: a running download stops before the link goes.
    TerminalSession session_;
    QTimer poll_timer_;
    QTimer progress_timer_;
    int char_width_;
    int line_height_;
    bool resizing_ = false;
    // The grid counts last refused as too large (asked once, not on every
    // step of a drag).
    std::pair<int, int> refused_{0, 0};
    // The write failure the status bar shows ("" for none).
    std::string shown_failure_;
};

} // namespace torva
