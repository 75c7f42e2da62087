// Wiring of the program's pieces to the frame.
#include "app/workbench.h"

#include "io/gui/target_setup_runner.h"

#include <QCoreApplication>

namespace torva {

Workbench::Workbench()
    : simulated_(QCoreApplication::applicationDirPath().toStdString(),
                 // The loader's messages go to the Output window once the frame exists.
                 [this](std::string_view text) {
                     if (frame_ != nullptr) frame_->output_append(text);
                 }) {}

FrameServices Workbench::services(MessageService& messages, DialogService& dialogs) {
    FrameServices services;
    services.messages = &messages;
    services.dialogs = &dialogs;
    services.documents = &documents_;
    services.assembler = &assembler_;
    services.lab_checker = &lab_checker_;
    services.simulators = &simulator_windows_;
    services.terminals = &terminal_windows_;
    services.ports = &terminal_windows_;
    return services;
}

void Workbench::attach(KivFrame& frame) {
    frame_ = &frame;
    documents_.attach(frame, {.dialogs = frame,
                              .status = frame,
                              .look = frame,
                              .events = frame,
                              .requests = frame,
                              .recent_files = frame.recent_files()});
    assembler_.attach(frame);
    lab_checker_.attach(frame);
    simulator_windows_.attach({.dialogs = frame, .status = frame, .sources = frame});
    attach_devices(frame);
    terminal_windows_.attach(
        frame,
        {.dialogs = frame, .status = frame, .look = frame, .events = frame, .requests = frame});
    // The terminals on the simulated board's serial interfaces go with the
    // simulator window.
    simulator_windows_.hooks().closing = [this] { terminal_windows_.simulator_closing(); };
    attach_source_marks();
}

void Workbench::attach_source_marks() {
    SimulatorWindowHooks& hooks = simulator_windows_.hooks();
    hooks.halted = [this] {
        source_marks_.set_simulator_window(simulator_windows_.window());
        source_marks_.halted();
        if (watch_window_ != nullptr) watch_window_->refresh();
    };
    hooks.running = [this] { source_marks_.running(); };
    hooks.source_command = [this](int id) { return source_command(id); };
    hooks.breakpoints_changed = [this] { source_keeping_.breakpoints_changed(); };
    simulated_.simulator().set_loaded_hook([this] { source_keeping_.program_loaded(); });
    // Symbols under the mouse in the editor show their values while halted.
    QCoreApplication::instance()->installEventFilter(&symbol_hover_);
    // The Watch window follows a run at the display's pace.
    hooks.ticked = [this, devices = std::move(hooks.ticked)] {
        if (devices) devices();
        if (watch_window_ != nullptr) watch_window_->refresh();
    };
}

bool Workbench::source_command(int id) {
    switch (id) {
    case cmd::kStepInto: source_debugger_.step(SourceStep::kInto); return true;
    case cmd::kStepOver: source_debugger_.step(SourceStep::kOver); return true;
    case cmd::kStepOut: source_debugger_.step(SourceStep::kOut); return true;
    case cmd::kRunToCursor: source_debugger_.run_to_cursor(); return true;
    case cmd::kToggleBreakpoint:
        if (source_debugger_.toggle_breakpoint()) source_keeping_.breakpoints_changed();
        // The Program pane shows the table too.
        if (KivSimulatorChild* window = simulator_windows_.window()) window->refresh_breakpoints();
        return true;
    case cmd::kWatch: open_watch_window(); return true;
    default: return false;
    }
}

WatchWindow* Workbench::open_watch_window() {
    if (frame_ == nullptr) return nullptr;
    if (watch_window_ == nullptr) {
        watch_window_ = new WatchWindow(simulated_.simulator());
        // Under the simulator window where the area leaves room, so that
        // the program, its source and the watched values show together.
        const KivSimulatorChild* simulator = simulator_windows_.window();
        const QWidget* sub = simulator != nullptr ? simulator->parentWidget() : nullptr;
        const QWidget* area = sub != nullptr ? sub->parentWidget() : nullptr;
        if (area != nullptr && area->height() - sub->geometry().bottom() >= 160) {
            const QRect below(sub->x(), sub->geometry().bottom() + 1, sub->width(),
                              area->height() - sub->geometry().bottom() - 1);
            frame_->add_child(*watch_window_, &below);
        } else {
            frame_->add_child(*watch_window_);
        }
        source_keeping_.keep_watch_rows(*watch_window_);
    }
    frame_->activate_child(watch_window_);
    watch_window_->refresh();
    return watch_window_;
}

void Workbench::attach_devices(KivFrame& frame) {
    DeviceSetup& setup = simulated_.board().setup();
    device_windows_.set_owner(&frame);
    device_windows_.set_place_key([&setup](int32_t handle) { return setup.place_key(handle); });
    device_windows_.set_place_name([&setup](int32_t handle) { return setup.place_name(handle); });
    // New device windows open beside the simulator window.
    device_windows_.set_anchor([this] {
        const KivSimulatorChild* window = simulator_windows_.window();
        const QWidget* sub = window != nullptr ? window->parentWidget() : nullptr;
        return sub != nullptr ? QRect(sub->mapToGlobal(QPoint(0, 0)), sub->size()) : QRect();
    });
    // Each tick of a run ends a display frame: the device windows follow it.
    simulator_windows_.hooks().ticked = [this] { device_windows_.refresh_all(); };
    // A device whose window the user closed is released at once, so its row
    // reads free again.
    device_windows_.set_user_closed([&setup] { setup.prune(); });
    simulator_windows_.hooks().target_setup = [this, &frame](QWidget*) {
        TargetSetupRunner::Simulator simulator;
        simulator.load_chain = [this] { simulated_.simulator().load_chain(); };
        return TargetSetupRunner(frame, frame.fonts().small, simulated_.board().setup(),
                                 QCoreApplication::applicationDirPath().toStdString(),
                                 std::move(simulator))
            .run();
    };
}

} // namespace torva
