// The simulator window: its construction, commands, toolbar, menus, the run
// timer and what the run control asks of it.
#include "sim/gui/simulator_child.h"

#include "shell/command_ids.h"
#include "shell/control_ids.h"
#include "shell/dialog_host.h"
#include "shell/file_dialogs.h"
#include "shell/menu_tree.h"
#include "shell/message_service.h"
#include "shell/source_opener.h"
#include "shell/status_line.h"
#include "sim/debug_map.h"
#include "sim/gui/arrow_moves.h"
#include "sim/gui/breakpoints_dialog.h"
#include "sim/gui/simulator_layout.h"
#include "sim/gui/simulator_picture.h"
#include "sim/gui/toolbar_icons.h"
#include "sim/sim_commands.h"
#include "sim/speed_text.h"

#include <QAction>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QFontMetrics>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QToolBar>

namespace torva {

namespace {

using namespace sim_layout;

QString text_of(std::string_view text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

// Toolbar order; Run Real Time follows Run Fast.
constexpr int kToolbar[] = {
    sim_cmd::kLoadNew,        sim_cmd::kReload,      sim_cmd::kBreakpointTable,
    sim_cmd::kResetSimulator, sim_cmd::kResetCpu,    sim_cmd::kRunSlow,
    sim_cmd::kRunFast,        sim_cmd::kRunRealTime, sim_cmd::kHalt,
    sim_cmd::kSimulatorSetup};

bool is_clock_choice(int id) {
    return id >= sim_cmd::kFirstBusClock &&
           id < sim_cmd::kFirstBusClock + int(kBusClockChoices.size());
}

bool is_cycle_model_choice(int id) {
    return id >= sim_cmd::kFirstCycleModel &&
           id < sim_cmd::kFirstCycleModel + int(kCycleModelChoices.size());
}

} // namespace

KivSimulatorChild::KivSimulatorChild(Simulator& sim, SimulatorRoles frame,
                                     SimulatorWindowHooks hooks, const std::string& load_path,
                                     QWidget* parent)
    : QWidget(parent), sim_(sim), frame_(frame), hooks_(std::move(hooks)),
      disassembler_(sim.board().memory()), disassembly_(disassembler_, sim.breakpoints()),
      memory_(sim.board().memory()), stack_(sim.board().memory()) {
    setObjectName(QStringLiteral("KivSimulatorChild"));
    setWindowTitle(QString::fromLatin1(kTitle));
    setAttribute(Qt::WA_DeleteOnClose, false);
    text_font_ = QFont(QStringLiteral("Courier"), 10);
    text_font_.setStyleHint(QFont::TypeWriter);
    text_font_.setFixedPitch(true);
    button_font_ = QFont(QStringLiteral("Courier New"), 8);
    button_font_.setStyleHint(QFont::TypeWriter);
    const QFontMetrics metrics(text_font_);
    char_width_ = metrics.averageCharWidth();
    line_height_ = metrics.height() + metrics.leading();
    picture_ = draw_simulator_picture(text_font_, button_font_);
    resize(kWidth, kHeight);
    setMaximumSize(kWidth, kHeight);
    setFocusPolicy(Qt::ClickFocus);

    menu_runner_ = [](QMenu& menu, QPoint global) {
        const QAction* chosen = menu.exec(global);
        return chosen != nullptr ? chosen->data().toInt() : 0;
    };
    timer_.setInterval(Simulator::kTimerMilliseconds);
    connect(&timer_, &QTimer::timeout, this, [this] { tick(); });

    build_toolbar();
    build_panel();
    build_memory_pane();
    build_register_fields();
    // The run keys work while the window exists, whichever window is active:
    // a device window clicked to work a switch, another document.
    for (const KeyBinding& binding : kKeyTable) {
        if (binding.scope != KeyScope::simulator) continue;
        auto* action = new QAction(this);
        action->setShortcut(key_sequence(binding));
        action->setShortcutContext(Qt::ApplicationShortcut);
        connect(action, &QAction::triggered, this, [this, id = binding.command] {
            if (!(hooks_.source_command && hooks_.source_command(id))) send(id);
        });
        addAction(action);
    }

    sim_.bind_ui(*this);
    if (!load_path.empty()) sim_.load_file().load_file_path = load_path;
    sim_.window_created();
    update_toolbar();
    refresh_registers();
    refresh_disassembly();
    refresh_memory();
}

KivSimulatorChild::~KivSimulatorChild() {
    retire();
}

void KivSimulatorChild::retire() {
    if (retired_) return;
    retired_ = true;
    timer_.stop();
    // Closing halts the run and closes the devices; the simulator and its
    // breakpoints stay for the next window.
    if (sim_.bound_to(*this)) sim_.unbind_ui();
    sim_.window_closing();
    frame_.status.set_status_ready();
    if (hooks_.closing) hooks_.closing();
}

void KivSimulatorChild::closeEvent(QCloseEvent* event) {
    // The run ends with the close, not when the window is deleted later:
    // no tick may come in between.
    retire();
    QWidget::closeEvent(event);
}

QSize KivSimulatorChild::sizeHint() const {
    return QSize(sim_layout::kWidth, sim_layout::kHeight);
}

void KivSimulatorChild::build_toolbar() {
    toolbar_ = new QToolBar(this);
    toolbar_->setObjectName(QStringLiteral("SimulatorToolbar"));
    toolbar_->setIconSize(QSize(18, 18));
    toolbar_->setGeometry(0, 0, kWidth, kToolbarHeight);
    for (const int id : kToolbar) {
        const SimCommandInfo* info = find_sim_command(id);
        QString tip = text_of(info->tip);
        if (const std::string_view keys = shown_key(id); !keys.empty())
            tip += QStringLiteral(" (%1)").arg(text_of(keys));
        QAction* action = toolbar_->addAction(simulator_toolbar_icon(id), tip);
        action->setObjectName(QStringLiteral("tool%1").arg(id));
        connect(action, &QAction::triggered, this, [this, id] { send(id); });
        actions_[id] = action;
    }
}

QAction* KivSimulatorChild::toolbar_action(int id) const {
    const auto it = actions_.find(id);
    return it != actions_.end() ? it->second : nullptr;
}

QPushButton* KivSimulatorChild::panel_button(const QString& text, QRect where, int command,
                                             bool small) {
    auto* button = new QPushButton(text, this);
    button->setFont(small ? button_font_ : text_font_);
    button->setGeometry(where);
    button->setFocusPolicy(Qt::NoFocus);
    button->setProperty("command", command);
    connect(button, &QPushButton::clicked, this, [this, command] { send(command); });
    panel_buttons_.push_back(button);
    return button;
}

void KivSimulatorChild::build_panel() {
    panel_button(QString(), kActivateI, sim_cmd::kActivateIrq)->setToolTip(QStringLiteral("IRQ"));
    panel_button(QString(), kActivateX, sim_cmd::kActivateXirq)->setToolTip(QStringLiteral("XIRQ"));
    panel_button(QStringLiteral("Exception handling"), kExceptionButton,
                 sim_cmd::kToggleExceptions);
    panel_button(QStringLiteral("ROM write E/D"), kRomWriteButton, sim_cmd::kToggleRomWrite);
    panel_button(QStringLiteral("C"), clear_button(kCyclesY, char_width_), sim_cmd::kClearCycles);
    panel_button(QStringLiteral("C"), clear_button(kBytesY, char_width_), sim_cmd::kClearBytes);
    step_ = panel_button(QStringLiteral("Step"), kStepButton, sim_cmd::kStep);
    step_->setToolTip(QStringLiteral("Step one instruction"));
    apply_ = new QPushButton(QStringLiteral("Apply"), this);
    apply_->setFont(button_font_);
    apply_->setGeometry(kApplyButton);
    apply_->setEnabled(false);
    connect(apply_, &QPushButton::clicked, this, [this] { apply_registers(); });
}

void KivSimulatorChild::send(int id, std::optional<uint32_t> selected) {
    if (id == sim_cmd::kShowSymbols) {
        disassembly_.show_symbols(!disassembly_.symbols_shown());
        refresh_disassembly();
        return;
    }
    sim_.dispatch(id, selected);
    if (is_clock_choice(id) && hooks_.clock_chosen) hooks_.clock_chosen(sim_.bus_clock());
    if (is_cycle_model_choice(id) && hooks_.cycle_model_chosen)
        hooks_.cycle_model_chosen(sim_.cycle_model());
    tell_breakpoint_changes();
    update();
}

void KivSimulatorChild::tell_breakpoint_changes() {
    const uint64_t changes = sim_.breakpoints().changes();
    if (changes == breakpoints_told_) return;
    breakpoints_told_ = changes;
    if (hooks_.breakpoints_changed) hooks_.breakpoints_changed();
}

bool KivSimulatorChild::handle_command(int id, std::intptr_t) {
    if (hooks_.source_command && hooks_.source_command(id)) return true;
    if (const auto move = arrow_move_for_command(id)) {
        for (int index = 0; index < MemoryPane::kCells; ++index) {
            if (!cells_[size_t(index)]->hasFocus()) continue;
            cells_[size_t(MemoryPane::move_focus(index, *move))]->setFocus();
            break;
        }
        return true;
    }
    if (find_sim_command(id) == nullptr && !is_clock_choice(id) && !is_cycle_model_choice(id))
        return false;
    send(id);
    return true;
}

void KivSimulatorChild::menu_popup(MenuItems& items, QMenu*) {
    for (const int id : {sim_cmd::kRunRealTime, sim_cmd::kHalt})
        items.set_enabled(id, sim_.toolbar_enabled(id));
    items.set_enabled(sim_cmd::kStep, !sim_.running());
    for (const int id : {cmd::kStepInto, cmd::kStepOver, cmd::kStepOut, cmd::kRunToCursor})
        items.set_enabled(id, !sim_.running());
    items.set_enabled(cmd::kToggleBreakpoint, true);
    items.set_enabled(cmd::kWatch, true);
}

void KivSimulatorChild::child_activated() {
    sim_.window_activated();
}

void KivSimulatorChild::fill_menu(QMenu& menu, const std::vector<MenuEntry>& entries) {
    for (const MenuEntry& entry : entries) {
        if (!entry.submenu.empty()) {
            QMenu* sub = menu.addMenu(QString::fromStdString(entry.text));
            fill_menu(*sub, entry.submenu);
            continue;
        }
        if (entry.id == 0) {
            menu.addSeparator();
            continue;
        }
        QAction* action = menu.addAction(QString::fromStdString(entry.text));
        action->setData(entry.id);
        action->setObjectName(control_name(entry.id));
        if (is_clock_choice(entry.id) || is_cycle_model_choice(entry.id) ||
            entry.id == sim_cmd::kShowSymbols) {
            action->setCheckable(true);
            action->setChecked(entry.checked);
        } else {
            action->setEnabled(sim_.command_enabled(entry.id));
        }
    }
}

void KivSimulatorChild::open_context_menu(QPoint local) {
    QMenu menu(this);
    const int line = line_at(local);
    std::optional<uint32_t> address;
    if (line >= 0) {
        disassembly_.select(line);
        address = disassembly_.selected_address();
    }
    if (address) {
        update();
        fill_menu(menu, line_menu(sim_.breakpoints().state_of(*address), symbols_item()));
    } else {
        disassembly_.select(-1);
        fill_menu(menu, window_menu(sim_, symbols_item()));
    }
    const int id = menu_runner_(menu, mapToGlobal(local));
    if (id != 0) send(id, address);
    disassembly_.select(-1);
    update();
}

void KivSimulatorChild::contextMenuEvent(QContextMenuEvent* event) {
    open_context_menu(event->pos());
}

bool KivSimulatorChild::open_source_of_line(QPoint local) {
    const int line = line_at(local);
    const std::shared_ptr<const DebugMap>& map = sim_.load_file().debug_map;
    if (line < 0 || map == nullptr) return false;
    const auto source =
        source_line_at(*map, sim_.load_file().load_file_path, disassembly_.address(line));
    if (!source) return false;
    frame_.sources.open_source_at(source->path, source->line);
    return true;
}

void KivSimulatorChild::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !open_source_of_line(event->pos()))
        QWidget::mouseDoubleClickEvent(event);
}

void KivSimulatorChild::tick() {
    refreshing_ = true;
    sim_.tick();
    refreshing_ = false;
    refresh_registers();
    refresh_memory();
    if (sim_.run_mode() == RunMode::kRunningRealTime) show_speed();
    if (breakpoints_dialog_ != nullptr) breakpoints_dialog_->follow_table();
    update();
    if (hooks_.ticked) hooks_.ticked();
}

void KivSimulatorChild::show_speed() {
    if (const auto text = real_time_speed_text(sim_))
        frame_.status.set_status_text(QString::fromStdString(*text));
}

// ---- what the run control asks -------------------------------------------

void KivSimulatorChild::show_message(std::string_view caption, std::string_view text) {
    frame_.dialogs.messages().titled(BoxKind::warning, std::string(caption), std::string(text));
}

bool KivSimulatorChild::ask_yes_no(std::string_view caption, std::string_view text) {
    return frame_.dialogs.messages().titled(BoxKind::question, std::string(caption),
                                            std::string(text)) == kBoxYes;
}

void KivSimulatorChild::follow_debug_map() {
    const std::shared_ptr<const DebugMap>& map = sim_.load_file().debug_map;
    if (map == symbols_map_) return;
    // Holding the map keeps a later one from reusing its address unnoticed.
    symbols_map_ = map;
    disassembly_.set_symbols(map ? ProgramSymbols(*map) : ProgramSymbols());
}

std::optional<bool> KivSimulatorChild::symbols_item() const {
    if (!disassembly_.has_symbols()) return std::nullopt;
    return disassembly_.symbols_shown();
}

void KivSimulatorChild::refresh_disassembly() {
    follow_debug_map();
    disassembly_.refresh(sim_.cpu().current_execution_address());
    update();
}

void KivSimulatorChild::track_disassembly(bool flow_left_sequence) {
    follow_debug_map();
    disassembly_.track(sim_.cpu().current_execution_address(), flow_left_sequence);
    update();
}

void KivSimulatorChild::update_toolbar() {
    for (const auto& [id, action] : actions_)
        action->setEnabled(sim_.toolbar_enabled(id));
    for (QPushButton* button : panel_buttons_)
        button->setEnabled(sim_.command_enabled(button->property("command").toInt()));
    const bool halted = !sim_.running();
    for (QLineEdit* field : registers_)
        if (field != nullptr) field->setReadOnly(!halted);
    // A field edited before the run cannot be applied during it.
    if (!halted) set_apply_enabled(false);
    refresh_memory();
    update();
}

void KivSimulatorChild::set_apply_enabled(bool on) {
    apply_->setEnabled(on);
}

void KivSimulatorChild::start_timer(RunMode mode) {
    if (hooks_.running) hooks_.running();
    // Run Real Time ticks at the display's pace, the classic runs every 100 ms.
    const bool real_time = mode == RunMode::kRunningRealTime;
    timer_.setTimerType(real_time ? Qt::PreciseTimer : Qt::CoarseTimer);
    timer_.start(real_time ? Simulator::kRealTimeTimerMilliseconds : Simulator::kTimerMilliseconds);
    if (mode == RunMode::kRunningSlow) setFocus();
    if (mode == RunMode::kRunningRealTime)
        frame_.status.set_status_text(
            QString::fromStdString(real_time_starting_text(sim_.cycle_model())));
}

void KivSimulatorChild::stop_timer() {
    // The run's speed leaves the status bar with the run, however it ended.
    if (timer_.isActive()) frame_.status.set_status_ready();
    timer_.stop();
}

std::optional<std::string> KivSimulatorChild::choose_load_file() {
    return frame_.dialogs.file_dialogs().load_file(frame_.dialogs.frame_widget());
}

bool KivSimulatorChild::run_target_setup() {
    const bool loaded = hooks_.target_setup && hooks_.target_setup(frame_.dialogs.frame_widget());
    update();
    return loaded;
}

void KivSimulatorChild::run_breakpoint_dialog() {
    BreakpointsDialog dialog(
        sim_.breakpoints(), [this](const std::string& text) { show_message(kFrameCaption, text); },
        frame_.dialogs.frame_widget());
    // A run goes on behind the modal dialog; its ticks keep the list true.
    breakpoints_dialog_ = &dialog;
    connect(&dialog, &BreakpointsDialog::table_changed, this,
            &KivSimulatorChild::tell_breakpoint_changes);
    frame_.dialogs.run_modal(dialog);
    breakpoints_dialog_ = nullptr;
    update();
}

} // namespace torva
