// The frame "KivFrame": the one top-level window with the multiple-document
// area, the status bar, the menus, and the routing of every command.
#pragma once

#include "shell/child_window.h"
#include "shell/directories.h"
#include "shell/file_dialogs.h"
#include "shell/frame_access.h"
#include "shell/help_topics.h"
#include "shell/help_window.h"
#include "shell/menu_tree.h"
#include "shell/message_service.h"
#include "shell/output_window.h"
#include "shell/recent_files.h"
#include "shell/services.h"
#include "shell/shared_fonts.h"

#include <QMainWindow>
#include <QPointer>

#include <cstdint>
#include <memory>

class QDialog;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QToolBar;

namespace torva {

class ChildSubWindow;
class PortLister;

// What the frame talks to. messages and dialogs are required; the rest may
// be null while their subsystems are absent.
struct FrameServices {
    MessageService* messages = nullptr;
    DialogService* dialogs = nullptr;
    DocumentService* documents = nullptr;
    AssemblerService* assembler = nullptr;
    LabCheckService* lab_checker = nullptr;
    SimulatorWindowFactory* simulators = nullptr;
    TerminalWindowFactory* terminals = nullptr;
    PortLister* ports = nullptr;
};

class KivFrame final : public QMainWindow, public FrameAccess {
    Q_OBJECT
public:
    KivFrame(const FrameServices& services, Directories& dirs);
    ~KivFrame() override;

    // Every menu item, accelerator and window command arrives here.
    void dispatch(int id, std::intptr_t parameter = 0);

    // Start-up steps that follow the frame's creation.
    void create_fonts();
    void build_menus();
    // Opens a source file named by the command line (".asm", ".s12"); any
    // other name gives a warning; an empty line does nothing.
    void open_by_type(const std::string& command_line);

    // The menu enabling pass for the pop-up about to open (null: none).
    void update_menus(QMenu* popup);
    QString status_text() const;
    QString line_column_text() const;

    // Open document (the editor's open): adds the path to the recent files.
    QWidget* open_document(bool is_new, const std::string& path, int line);

    int child_count() const;
    QWidget* simulator_window() const;
    OutputWindow* output_window() const { return output_; }

    // The close rule shared by Exit and the session-end request: true when
    // every child has gone.
    bool query_end_session();

    MenuBar* menus() const { return menus_.get(); }
    QMdiArea& client() const { return *mdi_; }
    Help& help() { return help_; }
    void set_services(const FrameServices& services);

    RecentFiles& recent_files() { return recent_; }
    // The size of the area's visible part.
    QSize client_size() const;

    // FrameAccess: the roles the frame hands to windows, and the shell's needs.
    QWidget* frame_widget() override { return this; }
    MessageBoxes& messages() override { return messages_; }
    FileDialogs& file_dialogs() override { return dialogs_; }
    int run_modal(QDialog& dialog) override;
    Directories& directories() override { return dirs_; }
    const SharedFonts& fonts() const override { return fonts_; }
    const SharedBrushes& brushes() const override { return brushes_; }
    void set_status_text(const QString& text) override;
    void set_status_ready() override;
    void set_line_column_text(const QString& text) override;
    void output_append(std::string_view text) override;
    void output_show_and_clear() override;
    void open_source_at(const std::string& path, int line_number) override;
    QMdiSubWindow* add_child(ChildWindow& child, const QRect* geometry = nullptr) override;
    void activate_child(QWidget* child) override;
    QWidget* top_child() const override;
    void refresh_menus() override { update_menus(nullptr); }
    void update_title() override;
    void stop_closing() override { closing_stopped_ = true; }
    void toggle_breakpoint() override;
    void reload_load_file() override;
    void fatal_error(const std::string& text) override;

    QToolBar* toolbar() const { return toolbar_; }

signals:
    // The frame has accepted its close: the message loop should end.
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;
    // Files dropped on the frame open as the command line's file does.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    struct Command {
        int first;
        int last;
        void (KivFrame::*handle)(int id, std::intptr_t parameter);
    };
    static const Command kCommands[];

    void forward(int id, std::intptr_t parameter);
    ChildSubWindow* top_sub() const;
    ChildSubWindow* sub_of(QWidget* child) const;
    // The simulator window's sub-window while it exists.
    ChildSubWindow* simulator_sub() const;
    void on_retire(ChildSubWindow& sub);
    void install_accelerators();
    void cascade_children();
    void bring_output_to_front();
    // The Simulator item and button are enabled only while no simulator window exists.
    void follow_simulator();

    void cmd_open_terminal(int id, std::intptr_t parameter);
    void cmd_open(int id, std::intptr_t parameter);
    void cmd_new(int id, std::intptr_t parameter);
    void cmd_close(int id, std::intptr_t parameter);
    void cmd_save_all(int id, std::intptr_t parameter);
    void cmd_exit(int id, std::intptr_t parameter);
    void cmd_about(int id, std::intptr_t parameter);
    void cmd_help(int id, std::intptr_t parameter);
    void cmd_keyboard_shortcuts(int id, std::intptr_t parameter);
    void cmd_arrange(int id, std::intptr_t parameter);
    void cmd_close_all(int id, std::intptr_t parameter);
    void cmd_goto_line(int id, std::intptr_t parameter);
    void cmd_create_output(int id, std::intptr_t parameter);
    void cmd_simulator(int id, std::intptr_t parameter);
    void cmd_simulator_no_file(int id, std::intptr_t parameter);
    void cmd_simulator_restart(int id, std::intptr_t parameter);
    void cmd_terminal_load(int id, std::intptr_t parameter);
    void cmd_assemble(int id, std::intptr_t parameter);
    void cmd_accept_other_syntax(int id, std::intptr_t parameter);
    void cmd_check_lab(int id, std::intptr_t parameter);
    void cmd_accelerator(int id, std::intptr_t parameter);
    // The source Assemble and Check Lab work on: the document on top, else
    // the source active last; "" for none.
    std::string current_source() const;
    void open_simulator(const std::string& load_path);

    FrameServices services_;
    MessageBoxes messages_;
    Directories& dirs_;
    FileDialogs dialogs_;
    RecentFiles recent_;
    Help help_;
    ContextHelp context_help_{help_};
    SharedFonts fonts_;
    SharedBrushes brushes_;
    QMdiArea* mdi_;
    QLabel* status_part0_;
    QLabel* status_part1_;
    std::unique_ptr<MenuBar> menus_;
    QPointer<OutputWindow> output_;
    QPointer<QMdiSubWindow> simulator_;
    QToolBar* toolbar_ = nullptr;
    // Set when the user cancels a close inside a close query.
    bool closing_stopped_ = false;
};

} // namespace torva
