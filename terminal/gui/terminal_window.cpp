// The terminal window over its session and serial link.
#include "terminal/gui/terminal_window.h"

#include "terminal/download_texts.h"
#include "terminal/gui/bootstrapper_dialog.h"
#include "terminal/gui/serial_settings_dialog.h"
#include "terminal/port_configuration.h"
#include "terminal/terminal_commands.h"
#include "terminal/terminal_texts.h"

#include "shell/child_events.h"
#include "shell/child_sub_window.h"
#include "shell/command_ids.h"
#include "shell/dialog_host.h"
#include "shell/directories.h"
#include "shell/file_dialogs.h"
#include "shell/menu_requests.h"
#include "shell/message_service.h"
#include "shell/shared_fonts.h"
#include "shell/shared_look.h"
#include "shell/status_line.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPainter>

#include <array>

namespace torva {
namespace {

QColor colour(RgbColour c) {
    return QColor(red(c), green(c), blue(c));
}

} // namespace

bool configure_link(SerialLink& link, SerialSettings& settings, MessageBoxes& boxes) {
    const ConfigureResult result = configure_port(link, settings);
    if (result.ok) return true;
    if (result.message != nullptr) boxes.error(std::string(result.message));
    boxes.error(std::string(terminal_message::kCantSetParameters));
    return false;
}

TerminalWindow::TerminalWindow(TerminalRoles frame, PortStore& store, TerminalSession session,
                               std::unique_ptr<SerialLink> link, QWidget* parent)
    : QWidget(parent), frame_(frame), store_(store), link_(std::move(link)),
      session_(std::move(session)), char_width_(std::max(1, frame.look.fonts().char_width)),
      line_height_(std::max(1, frame.look.fonts().line_height)) {
    setObjectName(QString::fromLatin1(kClassName));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::ArrowCursor);
    setFont(frame.look.fonts().screen);
    resize(sizeHint());
    update_title();
    connect(&poll_timer_, &QTimer::timeout, this, &TerminalWindow::poll);
    poll_timer_.start(TerminalSession::kPollMilliseconds);
    connect(&progress_timer_, &QTimer::timeout, this, &TerminalWindow::watch_download);
}

TerminalWindow::~TerminalWindow() {
    poll_timer_.stop();
    progress_timer_.stop();
    // A download still running (the simulator window took the link away)
    // stops before the link goes.
    session_.end_download_now(*this);
    store_.save(session_.port().number, session_.settings());
    session_.stop_logging();
}

QSize TerminalWindow::sizeHint() const {
    return {TerminalSession::kStartColumns * char_width_,
            TerminalSession::kStartRows * line_height_};
}

void TerminalWindow::update_title() {
    setWindowTitle(QString::fromStdString(session_.title()));
}

void TerminalWindow::poll() {
    if (resizing_) return;
    // Everything waiting, a chunk at a time: a long dump appears as fast as
    // the board sends it, not a chunk per tick.
    std::array<uint8_t, TerminalSession::kReadChunk> buffer;
    bool received = false;
    for (size_t got = buffer.size(); got == buffer.size();) {
        got = link_->read(buffer);
        if (got == 0) break;
        session_.receive(std::span(buffer.data(), got));
        received = true;
    }
    show_write_failure();
    if (!link_->paced()) {
        const bool busy = received || session_.download_in_progress();
        const int interval = busy ? kBusyPollMilliseconds : TerminalSession::kPollMilliseconds;
        if (poll_timer_.interval() != interval) poll_timer_.setInterval(interval);
    }
    if (received) update();
}

void TerminalWindow::show_write_failure() {
    const std::string failure = link_->write_failure();
    if (failure == shown_failure_) return;
    shown_failure_ = failure;
    if (!failure.empty())
        frame_.status.set_status_text(
            QString::fromStdString(cant_write_text(port_title_name(session_.port()), failure)));
    else if (!session_.download_in_progress())
        frame_.status.set_status_ready();
}

// ---- painting and sizing ----

void TerminalWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const TerminalSettings& settings = session_.settings();
    painter.fillRect(rect(), colour(settings.background));
    painter.setFont(frame_.look.fonts().screen);
    painter.setPen(colour(settings.text));
    const TerminalGrid& grid = session_.grid();
    const int ascent = QFontMetrics(frame_.look.fonts().screen).ascent();
    for (int row = 0; row < grid.rows(); ++row) {
        const std::string_view cells = grid.row(row);
        painter.drawText(QPoint(0, row * line_height_ + ascent),
                         QString::fromLatin1(cells.data(), qsizetype(cells.size())));
    }
    // The caret: a solid block one character wide and one line high.
    if (hasFocus()) {
        const QRect caret(grid.cursor_column() * char_width_, grid.cursor_row() * line_height_,
                          char_width_, line_height_);
        painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        painter.fillRect(caret, Qt::white);
    }
}

void TerminalWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const auto [columns, rows] =
        TerminalGrid::counts_for(width(), height(), char_width_, line_height_);
    TerminalGrid& grid = session_.grid();
    if (columns != grid.columns() || rows != grid.rows()) {
        resizing_ = true;
        const bool refused = grid.resize(columns, rows) == TerminalGrid::ResizeResult::kTooLarge;
        resizing_ = false;
        update();
        if (refused) {
            if (refused_ != std::pair(columns, rows))
                frame_.dialogs.messages().error(std::string(terminal_message::kNotEnoughMemory));
            refused_ = {columns, rows};
            return;
        }
        refused_ = {0, 0};
    }
    fit_to_grid();
}

void TerminalWindow::fit_to_grid() {
    // The sub-window shrinks so that the area holds whole cells only; a
    // maximised one keeps the area it has.
    auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget());
    if (sub == nullptr || sub->isMaximized() || sub->isMinimized()) return;
    const TerminalGrid& grid = session_.grid();
    const QSize extra = size() - QSize(grid.columns() * char_width_, grid.rows() * line_height_);
    if (extra.width() < 0 || extra.height() < 0 || extra.isNull()) return;
    QTimer::singleShot(0, sub, [sub, extra] { sub->resize(sub->size() - extra); });
}

// ---- input ----

void TerminalWindow::keyPressEvent(QKeyEvent* event) {
    QByteArray bytes;
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        bytes = "\r";
    else
        bytes = event->text().toLatin1();
    if (bytes.isEmpty()) return QWidget::keyPressEvent(event);
    for (const char c : bytes)
        for (const std::string& write : session_.typed(uint8_t(c)))
            write_typed(write);
}

void TerminalWindow::write_typed(const std::string& bytes) {
    // A port that fails writes refuses the key; the status bar says why.
    if (link_->write(bytes) != bytes.size()) show_write_failure();
}

bool TerminalWindow::focusNextPrevChild(bool) {
    return false; // Tab goes to the board, not to another widget
}

void TerminalWindow::mousePressEvent(QMouseEvent* event) {
    setFocus(Qt::MouseFocusReason);
    QWidget::mousePressEvent(event);
}

void TerminalWindow::mouseDoubleClickEvent(QMouseEvent*) {
    // The frame loads its most recently chosen load file into the window on top.
    if (!session_.last_load_path().empty()) frame_.requests.reload_load_file();
}

void TerminalWindow::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    for (const TerminalSession::MenuEntry& entry : session_.context_menu()) {
        if (entry.id == 0) {
            menu.addSeparator();
            continue;
        }
        QAction* action = menu.addAction(QString::fromStdString(entry.text));
        action->setData(entry.id);
    }
    if (QAction* chosen = menu.exec(event->globalPos())) run_menu_choice(chosen->data().toInt());
}

void TerminalWindow::run_menu_choice(int id) {
    if (id == terminal_cmd::kReload) {
        const std::string path = session_.last_load_path(); // the download resets it
        download(path);
    } else if (id == terminal_cmd::kStopDownload) {
        QTimer::singleShot(0, this, [this] { handle_command(terminal_cmd::kStopDownload, 0); });
    } else {
        handle_command(id, 0);
    }
}

void TerminalWindow::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    update();
}

void TerminalWindow::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    update();
}

void TerminalWindow::child_activated() {
    setFocus(Qt::ActiveWindowFocusReason);
}

// ---- commands ----

bool TerminalWindow::handle_command(int id, std::intptr_t parameter) {
    using namespace terminal_cmd;
    if (id < kFirst || id > kLast) return false;
    switch (id) {
    case kDownload:
        if (const std::optional<std::string> chosen = frame_.dialogs.file_dialogs().load_file(this))
            download(*chosen);
        return true;
    case kSettings: run_settings_dialog(); return true;
    case kClose:
        QTimer::singleShot(0, this, [this] {
            if (parentWidget() != nullptr)
                parentWidget()->close();
            else
                close();
        });
        return true;
    case kBackground:
        session_.settings().background = RgbColour(parameter);
        update();
        return true;
    case kRepaint: update(); return true;
    case kStartLogging: start_logging(); return true;
    case kStopLogging:
        session_.stop_logging();
        update_title();
        return true;
    case kStopDownload: session_.stop_download(*link_); return true;
    case kBootstrap: run_bootstrap_dialog(); return true;
    default: return false;
    }
}

bool TerminalWindow::close_query() {
    if (!session_.download_in_progress()) return true;
    frame_.dialogs.messages().warning(std::string(terminal_message::kDownloadInProgress));
    frame_.events.stop_closing();
    return false;
}

void TerminalWindow::menu_popup(MenuItems& items, QMenu*) {
    items.set_enabled(terminal_cmd::kReload, !session_.download_in_progress());
    items.set_enabled(terminal_cmd::kDownload, !session_.download_in_progress());
}

void TerminalWindow::close_now() {
    session_.end_download_now(*this);
    if (auto* sub = qobject_cast<ChildSubWindow*>(parentWidget()))
        sub->destroy_now();
    else
        deleteLater();
}

bool TerminalWindow::reconfigure() {
    return configure_link(*link_, session_.settings().serial, frame_.dialogs.messages());
}

void TerminalWindow::run_settings_dialog() {
    TerminalSettings& settings = session_.settings();
    SerialSettingsDialog dialog(settings.serial, settings, true,
                                QString::fromLatin1(SerialSettingsDialog::kTerminalTitle),
                                frame_.dialogs.frame_widget());
    if (frame_.dialogs.run_modal(dialog) == QDialog::Accepted) {
        dialog.store();
        session_.mark_settings_changed();
        // New settings that the port refuses stay and are saved all the same.
        reconfigure();
        store_.save(session_.port().number, settings);
    }
    update_title();
    update();
}

void TerminalWindow::run_bootstrap_dialog() {
    if (session_.download_in_progress()) return;
    run_bootstrapper_dialog(*this, frame_.dialogs, session_, *link_, [this] { poll(); });
    update_title();
}

void TerminalWindow::start_logging() {
    if (!session_.start_logging(kLogFileName)) {
        frame_.dialogs.messages().error(std::string(terminal_message::kCantCreateLog));
        return;
    }
    update_title();
}

// ---- download ----

void TerminalWindow::download(const std::string& path) {
    if (!session_.start_download(path, *link_, *this)) return;
    progress_timer_.start(kProgressMilliseconds);
    frame_.events.refresh_menus();
    poll();
}

void TerminalWindow::watch_download() {
    if (!session_.download_in_progress()) return progress_timer_.stop();
    if (!session_.watch_download(*this)) return;
    progress_timer_.stop();
    update_title();
    frame_.events.refresh_menus();
}

void TerminalWindow::error_box(const std::string& text) {
    frame_.dialogs.messages().error(text);
}

bool TerminalWindow::question_box(const std::string& text) {
    return frame_.dialogs.messages().question(text) == kBoxYes;
}

void TerminalWindow::status_text(const std::string& text) {
    frame_.status.set_status_text(QString::fromStdString(text));
}

void TerminalWindow::status_ready() {
    frame_.status.set_status_ready();
}

void TerminalWindow::download_failed(const std::string& reason, int lines_sent, int lines) {
    const std::string text = cant_write_text(port_title_name(session_.port()), reason);
    shown_failure_ = reason;
    frame_.status.set_status_text(QString::fromStdString(text));
    frame_.dialogs.messages().error(text + "\n" + stopped_after_text(lines_sent, lines));
}

} // namespace torva
