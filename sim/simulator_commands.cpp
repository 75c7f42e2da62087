// The simulator's commands by identifier, as the toolbar, the menus and the
// frame give them.
#include "io/setup_messages.h"
#include "sim/simulator.h"

namespace torva {

bool Simulator::dispatch(int id, std::optional<uint32_t> selected,
                         std::optional<std::string> path) {
    const SimCommandInfo* info = find_sim_command(id);
    if (!info) {
        if (id >= sim_cmd::kFirstCycleModel &&
            id < sim_cmd::kFirstCycleModel + int(kCycleModelChoices.size())) {
            set_cycle_model(kCycleModelChoices[size_t(id - sim_cmd::kFirstCycleModel)].model);
            return true;
        }
        if (id < sim_cmd::kFirstBusClock ||
            id >= sim_cmd::kFirstBusClock + int(kBusClockChoices.size()))
            return false;
        set_bus_clock(kBusClockChoices[size_t(id - sim_cmd::kFirstBusClock)].hz);
        return true;
    }
    // A command that does not apply now (a toolbar or menu state that
    // lagged behind) is taken and ignored.
    if (!command_enabled(id)) return true;
    // Line commands without a selected line have nothing to act on.
    if (info->needs_selection && !selected) return true;
    switch (id) {
    case sim_cmd::kResetSimulator:
        reset_simulator(false);
        cpu_.set_register(kRegPc, load_file_.load_start_address);
        ui_->refresh_registers();
        ui_->refresh_disassembly();
        ui_->refresh_memory();
        ui_->refresh_counters();
        ui_->refresh_status();
        break;
    case sim_cmd::kResetCpu: reset_cpu(); break;
    case sim_cmd::kRunSlow: start_run(RunMode::kRunningSlow); break;
    case sim_cmd::kRunFast: start_run(RunMode::kRunningFast); break;
    case sim_cmd::kRunRealTime: start_run(RunMode::kRunningRealTime); break;
    case sim_cmd::kHalt: halt(); break;
    case sim_cmd::kStep: step_button(); break;
    case sim_cmd::kClearCycles: clear_cycle_counter(); break;
    case sim_cmd::kClearBytes: clear_byte_counter(); break;
    case sim_cmd::kToggleRomWrite: toggle_rom_write_enable(); break;
    case sim_cmd::kToggleExceptions: toggle_exception_handling(); break;
    case sim_cmd::kActivateIrq: request_interrupt(InterruptSource::kIrq); break;
    case sim_cmd::kActivateXirq: request_interrupt(InterruptSource::kXirq); break;
    case sim_cmd::kSetBreak: breakpoints_.add(*selected, BreakState::kEnabled); break;
    case sim_cmd::kRemoveBreak: breakpoints_.remove(*selected); break;
    case sim_cmd::kClearAllBreaks: clear_all_breaks(); break;
    case sim_cmd::kEnableBreak: breakpoints_.set_state(*selected, BreakState::kEnabled); break;
    case sim_cmd::kDisableBreak: breakpoints_.set_state(*selected, BreakState::kDisabled); break;
    case sim_cmd::kEnableBreakOnIo: set_break_on_io(true); break;
    case sim_cmd::kDisableBreakOnIo: set_break_on_io(false); break;
    case sim_cmd::kEnableBreakOnIrq: set_break_on_irq(true); break;
    case sim_cmd::kDisableBreakOnIrq: set_break_on_irq(false); break;
    case sim_cmd::kBreakpointTable: ui_->run_breakpoint_dialog(); break;
    case sim_cmd::kGotoHere: goto_here(*selected); break;
    case sim_cmd::kLoadNew: load_new(std::move(path)); break;
    case sim_cmd::kLoadChain: load_chain(); break;
    case sim_cmd::kReload: {
        const int result = reload();
        if (result == kLoadError) {
            show(kFrameCaption,
                 format_message(sim_message::kFailedToLoad, load_file_.load_file_path.c_str()));
            break;
        }
        if (result == kLoadOk && loaded_) loaded_();
        after_load_refresh();
        break;
    }
    case sim_cmd::kAfterLoadRefresh: after_load_refresh(); break;
    case sim_cmd::kSimulatorSetup: simulator_setup(); break;
    default: break;
    }
    return true;
}

} // namespace torva
