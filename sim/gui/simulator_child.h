// The simulator window "KivSimulatorChild", titled "RT12 Visual Simulator":
// the picture of the board's programming model with the live panes, lamps
// and counters, the toolbar, the panel's buttons and both context menus. It
// binds itself to the simulator that outlives it and only reads its state
// and sends it commands.
#pragma once

#include "shell/child_window.h"
#include "sim/disassembler.h"
#include "sim/disassembly_pane.h"
#include "sim/memory_pane.h"
#include "sim/panel.h"
#include "sim/register_fields.h"
#include "sim/simulator.h"
#include "sim/stack_pane.h"

#include <QPixmap>
#include <QTimer>
#include <QWidget>

#include <array>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QAction;
class QLineEdit;
class QMenu;
class QPushButton;
class QScrollBar;
class QToolBar;

namespace torva {

class BreakpointsDialog;
class DialogHost;
class SourceOpener;
class StatusLine;

// What the window asks of the frame: its dialogs and boxes, the status bar,
// and opening the source of the current line.
struct SimulatorRoles {
    DialogHost& dialogs;
    StatusLine& status;
    SourceOpener& sources;
};

// What the program plugs into the window from outside the simulator.
struct SimulatorWindowHooks {
    // Simulator Setup's target setup dialog over the owner; true when its
    // OK ran the load chain. None: nothing runs.
    std::function<bool(QWidget* owner)> target_setup;
    // The window is closing (a simulated-port terminal closes with it).
    std::function<void()> closing;
    // Run Real Time's clock was chosen (the program remembers it).
    std::function<void(uint32_t hz)> clock_chosen;
    // A cycle model was chosen (the program remembers it).
    std::function<void(CycleModel model)> cycle_model_chosen;
    // A run-timer tick ran: the device windows show the board as it is now.
    std::function<void()> ticked;
    // The program counter's line became the current line (a halt, a step,
    // a load), and a run began: the editor follows in the source.
    std::function<void()> halted;
    std::function<void()> running;
    // The commands of debugging in the source (steps, Run to Cursor, the
    // breakpoint on the caret's line, Watch), from the Debug menu or their
    // keys; true when the command was one of them.
    std::function<bool(int id)> source_command;
    // The user changed the breakpoint table here (the Program pane's menu,
    // the Breakpoints dialog): the editor's margin shows it at once.
    std::function<void()> breakpoints_changed;
};

class KivSimulatorChild final : public QWidget, public ChildWindow, private SimulatorUi {
    Q_OBJECT
public:
    static constexpr char kTitle[] = "RT12 Visual Simulator";

    // load_path: the load file the frame hands over; "" keeps the simulator's.
    KivSimulatorChild(Simulator& sim, SimulatorRoles frame, SimulatorWindowHooks hooks,
                      const std::string& load_path, QWidget* parent = nullptr);
    ~KivSimulatorChild() override;
    // The closing work, once: halt, unbind, close the devices, tell the
    // hooks. The destructor does it at the latest; a new window that comes
    // before the old one is deleted has it done first.
    void retire();
    QSize sizeHint() const override;

    // ChildWindow.
    QWidget& as_widget() override { return *this; }
    bool handle_command(int id, std::intptr_t parameter) override;
    void menu_popup(MenuItems& items, QMenu* popup) override;
    void child_activated() override;

    // Runs a context menu and gives the chosen command id (0 for none);
    // tests replace it to choose without a modal menu.
    using MenuRunner = std::function<int(QMenu& menu, QPoint global)>;
    void set_menu_runner(MenuRunner runner) { menu_runner_ = std::move(runner); }
    // The context menu at a point of the window, as a right click opens it.
    void open_context_menu(QPoint local);
    // A double-click at a point: on a Program pane line whose bytes the
    // debug map knows, that source line opens in the editor. True if one did.
    bool open_source_of_line(QPoint local);

    // For tests and the benchmark: the panes, fields and the run timer.
    Simulator& simulator() { return sim_; }
    const DisassemblyPane& disassembly() const { return disassembly_; }
    MemoryPane& memory() { return memory_; }
    QTimer& run_timer() { return timer_; }
    // What each timeout of the run timer does.
    void timer_tick() { tick(); }
    // The breakpoint table changed elsewhere (the editor's margin): the
    // Program pane shows it again.
    void refresh_breakpoints() { refresh_disassembly(); }
    QToolBar& toolbar() { return *toolbar_; }
    QAction* toolbar_action(int id) const;
    QPushButton& step_button() { return *step_; }
    QPushButton& apply_button() { return *apply_; }
    QPushButton& mem_button() { return *mem_; }
    QLineEdit& register_field(size_t index) { return *registers_[index]; }
    QLineEdit& row_field(int row) { return *rows_[size_t(row)]; }
    QLineEdit& cell(int index) { return *cells_[size_t(index)]; }
    // The rectangle of a disassembly line, in window coordinates.
    QRect line_rect(int line) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // SimulatorUi.
    void show_message(std::string_view caption, std::string_view text) override;
    bool ask_yes_no(std::string_view caption, std::string_view text) override;
    void refresh_registers() override;
    void refresh_memory() override;
    void refresh_disassembly() override;
    void track_disassembly(bool flow_left_sequence) override;
    void refresh_counters() override { update(); }
    void refresh_status() override { update(); }
    void update_toolbar() override;
    void mark_current_line() override {
        disassembly_.mark_current(sim_.cpu().regs.pc);
        if (hooks_.halted) hooks_.halted();
    }
    void set_apply_enabled(bool on) override;
    void start_timer(RunMode mode) override;
    void stop_timer() override;
    std::optional<std::string> choose_load_file() override;
    bool run_target_setup() override;
    // Tells the hooks when a command of this window changed the table.
    void tell_breakpoint_changes();
    void run_breakpoint_dialog() override;

    void build_toolbar();
    void build_panel();
    void build_memory_pane();
    void build_register_fields();
    QPushButton* panel_button(const QString& text, QRect where, int command, bool small = true);
    void send(int id, std::optional<uint32_t> selected = std::nullopt);
    void tick();
    void show_speed();
    void fill_menu(QMenu& menu, const std::vector<MenuEntry>& entries);
    void apply_registers();
    void cell_edited(int index, const QString& text);
    void address_button();
    void paint_disassembly(QPainter& painter);
    void paint_stack(QPainter& painter);
    void paint_lamps(QPainter& painter);
    int line_at(QPoint local) const;
    // The Program pane takes the labels of the map loaded now.
    void follow_debug_map();
    // The Show Symbols item's check; none without labels to show.
    std::optional<bool> symbols_item() const;

    Simulator& sim_;
    SimulatorRoles frame_;
    SimulatorWindowHooks hooks_;
    Disassembler disassembler_;
    DisassemblyPane disassembly_;
    std::shared_ptr<const DebugMap> symbols_map_;
    MemoryPane memory_;
    StackPane stack_;
    QFont text_font_;
    QFont button_font_;
    int char_width_ = 8;
    int line_height_ = 16;
    QPixmap picture_;
    QTimer timer_;
    QToolBar* toolbar_ = nullptr;
    std::map<int, QAction*> actions_;
    QPushButton* step_ = nullptr;
    QPushButton* apply_ = nullptr;
    QPushButton* mem_ = nullptr;
    std::vector<QPushButton*> panel_buttons_;
    std::array<QLineEdit*, kRegisterFields.size()> registers_{};
    std::array<QLineEdit*, MemoryPane::kRows> rows_{};
    std::array<QLineEdit*, MemoryPane::kCells> cells_{};
    QScrollBar* scroll_ = nullptr;
    MenuRunner menu_runner_;
    // The Breakpoints dialog while it is open.
    BreakpointsDialog* breakpoints_dialog_ = nullptr;
    // The breakpoint table's change count the hooks were last told about.
    uint64_t breakpoints_told_ = 0;
    bool refreshing_ = false;
    bool retired_ = false;
};

} // namespace torva
