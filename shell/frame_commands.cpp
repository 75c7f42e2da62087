// The frame's command table: which ids the frame handles itself, in which
// order, and what each does; everything else goes to the active child.
#include "shell/frame.h"

#include "shell/about_dialog.h"
#include "shell/child_sub_window.h"
#include "shell/command_ids.h"
#include "shell/download_target.h"
#include "shell/keyboard_shortcuts_dialog.h"
#include "sim/sim_commands.h"
#include "terminal/terminal_commands.h"

#include <QMdiArea>
#include <QStyle>

#include <algorithm>
#include <filesystem>

namespace torva {

const KivFrame::Command KivFrame::kCommands[] = {
    {cmd::kOpenTerminal, cmd::kOpenTerminal, &KivFrame::cmd_open_terminal},
    {cmd::kAccelOpen, cmd::kAccelOpen, &KivFrame::cmd_open},
    {cmd::kOpen, cmd::kOpenKeepDirLast, &KivFrame::cmd_open},
    {cmd::kNew, cmd::kNewKeepDirLast, &KivFrame::cmd_new},
    {cmd::kClose, cmd::kClose, &KivFrame::cmd_close},
    {cmd::kSaveAll, cmd::kSaveAll, &KivFrame::cmd_save_all},
    {cmd::kExit, cmd::kExit, &KivFrame::cmd_exit},
    {cmd::kAbout, cmd::kAbout, &KivFrame::cmd_about},
    {cmd::kHelp, cmd::kHelp, &KivFrame::cmd_help},
    {cmd::kKeyboardShortcuts, cmd::kKeyboardShortcuts, &KivFrame::cmd_keyboard_shortcuts},
    {cmd::kCascade, cmd::kArrangeIcons, &KivFrame::cmd_arrange},
    {cmd::kCloseAll, cmd::kCloseAll, &KivFrame::cmd_close_all},
    {cmd::kGoToLine, cmd::kGoToLine, &KivFrame::cmd_goto_line},
    {cmd::kCreateOutput, cmd::kCreateOutput, &KivFrame::cmd_create_output},
    {cmd::kSimulator, cmd::kSimulator, &KivFrame::cmd_simulator},
    {cmd::kSimulatorNoFile, cmd::kSimulatorNoFile, &KivFrame::cmd_simulator_no_file},
    {cmd::kSimulatorRestart, cmd::kSimulatorRestart, &KivFrame::cmd_simulator_restart},
    {terminal_cmd::kReload, terminal_cmd::kReload, &KivFrame::cmd_terminal_load},
    {terminal_cmd::kDownload, terminal_cmd::kDownload, &KivFrame::cmd_terminal_load},
    {cmd::kAssemble, cmd::kAssemble, &KivFrame::cmd_assemble},
    {cmd::kAcceptOtherSyntax, cmd::kAcceptOtherSyntax, &KivFrame::cmd_accept_other_syntax},
    {cmd::kCheckLab, cmd::kCheckLab, &KivFrame::cmd_check_lab},
    {cmd::kAccelSave, cmd::kAccelFind, &KivFrame::cmd_accelerator},
};

void KivFrame::dispatch(int id, std::intptr_t parameter) {
    if (cmd::is_recent(id)) {
        if (const auto path = recent_.at(id - cmd::kRecentFirst)) open_document(false, *path, -1);
        return;
    }
    if (cmd::is_port(id)) {
        dispatch(cmd::kOpenTerminal, id - cmd::kPortFirst);
        return;
    }
    for (const Command& command : kCommands) {
        if (id >= command.first && id <= command.last) {
            (this->*command.handle)(id, parameter);
            return;
        }
    }
    forward(id, parameter);
}

void KivFrame::toggle_breakpoint() {
    dispatch(cmd::kToggleBreakpoint);
}

void KivFrame::reload_load_file() {
    dispatch(terminal_cmd::kReload);
}

void KivFrame::forward(int id, std::intptr_t parameter) {
    // The simulator's run items act on the simulator window whichever child
    // is on top, as their keys do.
    if (ChildSubWindow* simulator = simulator_sub();
        simulator != nullptr &&
        std::ranges::find(kSimulatorRunItems, id) != std::end(kSimulatorRunItems)) {
        simulator->child()->handle_command(id, parameter);
        return;
    }
    if (ChildSubWindow* sub = top_sub()) sub->child()->handle_command(id, parameter);
}

void KivFrame::cmd_open_terminal(int, std::intptr_t parameter) {
    if (services_.terminals == nullptr) return;
    ChildWindow* terminal = services_.terminals->create_terminal(static_cast<int>(parameter));
    if (terminal == nullptr) return;
    if (terminal->as_widget().windowTitle().isEmpty())
        terminal->as_widget().setWindowTitle(QStringLiteral("Terminal"));
    add_child(*terminal);
}

void KivFrame::cmd_open(int id, std::intptr_t) {
    const bool keep_dir = id >= cmd::kOpenKeepDirFirst && id <= cmd::kOpenKeepDirLast;
    const auto path = dialogs_.open_source(this, {}, keep_dir);
    if (!path) return;
    // A name that does not exist yet makes a new file, when the user agrees.
    std::error_code ec;
    if (!std::filesystem::exists(*path, ec)) {
        if (messages_.question("File '%s' does not exist. Create it?", *path) == kBoxYes)
            open_document(true, *path, -1);
        return;
    }
    open_document(false, *path, -1);
}

void KivFrame::cmd_new(int id, std::intptr_t) {
    const bool keep_dir = id >= cmd::kNewKeepDirFirst && id <= cmd::kNewKeepDirLast;
    if (const auto path = dialogs_.save_source(this, {}, keep_dir)) open_document(true, *path, -1);
}

void KivFrame::cmd_close(int, std::intptr_t) {
    if (ChildSubWindow* sub = top_sub(); sub != nullptr && sub->child()->close_query())
        sub->destroy_now();
    update_title();
}

void KivFrame::cmd_save_all(int, std::intptr_t) {
    if (services_.documents != nullptr) services_.documents->save_all_modified();
    update_title();
}

void KivFrame::cmd_exit(int, std::intptr_t) {
    close();
}

void KivFrame::cmd_about(int, std::intptr_t) {
    AboutDialog about(this);
    about.adjustSize();
    about.move(geometry().center() - QPoint(about.width() / 2, about.height() / 2));
    services_.dialogs->run_modal(about);
}

void KivFrame::cmd_help(int, std::intptr_t) {
    help_.show();
}

void KivFrame::cmd_keyboard_shortcuts(int, std::intptr_t) {
    KeyboardShortcutsDialog shortcuts(this);
    services_.dialogs->run_modal(shortcuts);
}

void KivFrame::cmd_arrange(int id, std::intptr_t) {
    // Iconised children are kept in a row by the area itself (Arrange Icons).
    if (id == cmd::kCascade)
        cascade_children();
    else if (id == cmd::kTile)
        mdi_->tileSubWindows();
}

void KivFrame::cascade_children() {
    // Each window is offset by one title bar from the one below it and is at
    // least two thirds of the area in each direction; windows that do not
    // fit start again from the corner.
    QList<QMdiSubWindow*> windows;
    for (QMdiSubWindow* sub : mdi_->subWindowList(QMdiArea::StackingOrder)) {
        if (sub->isMinimized() || !sub->isVisible()) continue;
        if (sub->isMaximized()) sub->showNormal();
        windows.append(sub);
    }
    if (windows.isEmpty()) return;
    const QSize area = mdi_->viewport()->size();
    const int step =
        std::max(8, style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, windows.front()) + 4);
    const int spread = (static_cast<int>(windows.size()) - 1) * step;
    const QSize size(std::max(area.width() * 2 / 3, area.width() - spread),
                     std::max(area.height() * 2 / 3, area.height() - spread));
    const int room = std::min(area.width() - size.width(), area.height() - size.height());
    const int per_round = room / step + 1;
    for (int i = 0; i < windows.size(); ++i) {
        const int offset = (i % per_round) * step;
        windows[i]->setGeometry(QRect(QPoint(offset, offset), size));
    }
}

void KivFrame::cmd_close_all(int, std::intptr_t) {
    // Every child is visited even after one refuses; a user's Cancel in a
    // save question stops the whole round.
    closing_stopped_ = false;
    for (QMdiSubWindow* window : mdi_->subWindowList()) {
        auto* sub = qobject_cast<ChildSubWindow*>(window);
        if (sub == nullptr) continue;
        if (sub->isMaximized() || sub->isMinimized()) sub->showNormal();
        if (sub->child()->close_query()) sub->destroy_now();
        if (closing_stopped_) break;
    }
    closing_stopped_ = false;
    update_title();
}

void KivFrame::cmd_goto_line(int, std::intptr_t) {
    if (services_.documents == nullptr) return;
    const int line = services_.documents->run_goto_line(this);
    if (line >= 1) dispatch(cmd::kGoToLineToChild, line - 1);
}

void KivFrame::cmd_create_output(int, std::intptr_t) {
    if (output_ != nullptr) { // there is at most one Output window
        if (ChildSubWindow* sub = sub_of(output_)) mdi_->setActiveSubWindow(sub);
        return;
    }
    output_ = new OutputWindow(fonts_.cell, fonts_.char_width, fonts_.line_height, this);
    const QRect area = mdi_->viewport()->rect();
    const QRect geometry(0, 0, area.width(), area.height() / 4);
    add_child(*output_, &geometry);
}

void KivFrame::cmd_simulator(int, std::intptr_t parameter) {
    // Greyed while the window exists: another load file would be recorded
    // but not loaded, and the start request would halt a run.
    if (simulator_window() != nullptr) return;
    if (parameter == 0 && !dialogs_.load_file(this)) return;
    if (services_.simulators != nullptr) services_.simulators->simulator_start_request();
    open_simulator(dirs_.load_file_path);
}

void KivFrame::cmd_simulator_no_file(int, std::intptr_t) {
    open_simulator({});
}

void KivFrame::open_simulator(const std::string& load_path) {
    if (simulator_window() == nullptr) {
        if (services_.simulators == nullptr) return;
        ChildWindow* simulator = services_.simulators->create_simulator(load_path);
        if (simulator == nullptr) return;
        // The window may set its own title and size when it is created.
        QWidget& widget = simulator->as_widget();
        if (widget.windowTitle().isEmpty()) widget.setWindowTitle(QStringLiteral("Simulator"));
        const QRect geometry(0, 0, 600, 800);
        simulator_ =
            add_child(*simulator, widget.testAttribute(Qt::WA_Resized) ? nullptr : &geometry);
        follow_simulator();
    }
    mdi_->setActiveSubWindow(simulator_);
    if (auto* sub = qobject_cast<ChildSubWindow*>(simulator_.data()))
        sub->child()->handle_command(sim_cmd::kLoadChain, 0);
}

void KivFrame::cmd_simulator_restart(int, std::intptr_t) {
    if (simulator_window() != nullptr) {
        if (auto* sub = qobject_cast<ChildSubWindow*>(simulator_.data())) sub->destroy_now();
    }
    simulator_ = nullptr;
    dispatch(cmd::kSimulatorNoFile);
}

void KivFrame::cmd_terminal_load(int id, std::intptr_t) {
    // Load asks for the file; Reload takes the one the dialog remembers.
    std::string path = dirs_.load_file_path;
    if (id == terminal_cmd::kDownload) {
        const std::optional<std::string> chosen = dialogs_.load_file(this);
        if (!chosen) return;
        path = *chosen;
    }
    if (ChildSubWindow* sub = top_sub())
        if (auto* target = dynamic_cast<DownloadTarget*>(sub->child())) target->download(path);
}

std::string KivFrame::current_source() const {
    // With another kind of window on top (the Output window after the last
    // run), the source that was active last; "" when there is none.
    std::string path;
    if (services_.documents != nullptr) {
        if (QWidget* top = top_child()) path = services_.documents->document_path(top);
        if (path.empty()) path = services_.documents->most_recent_source();
    }
    return path;
}

void KivFrame::cmd_assemble(int, std::intptr_t) {
    // Without a source the path is empty and the file is asked for.
    if (services_.assembler != nullptr) services_.assembler->assemble(current_source());
}

void KivFrame::cmd_check_lab(int, std::intptr_t) {
    if (services_.lab_checker != nullptr) services_.lab_checker->check_lab(current_source());
}

void KivFrame::cmd_accept_other_syntax(int, std::intptr_t) {
    if (services_.assembler == nullptr) return;
    services_.assembler->set_accepts_other_syntax(!services_.assembler->accepts_other_syntax());
    update_menus(nullptr);
}

void KivFrame::cmd_accelerator(int id, std::intptr_t parameter) {
    // Ctrl+S and Ctrl+F reach the active child as Save and Find/Replace.
    forward(id == cmd::kAccelSave ? cmd::kSave : cmd::kFindReplace, parameter);
}

} // namespace torva
