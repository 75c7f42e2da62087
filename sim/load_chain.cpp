// The load chain, Reload, Load New, the reload after Simulator Setup, the
// after-load refresh, the reload prompt and the window's creation and closing.
#include "io/board_option.h"
#include "io/descriptor_file.h"
#include "io/setup_messages.h"
#include "sim/debug_map.h"
#include "sim/simulator.h"

namespace torva {

int Simulator::reload() {
    const int result =
        load_srecord_file(load_file_.load_file_path, board_.memory(), load_file_, output_);
    // Source lines and symbols come from the map of the same build only;
    // a map of another build is named and left alone.
    load_file_.debug_map.reset();
    if (result == kLoadOk) {
        std::string why;
        if (auto map = read_debug_map_for(load_file_.load_file_path, &why))
            load_file_.debug_map = std::make_shared<const DebugMap>(std::move(*map));
        else if (!why.empty() && output_)
            output_("Debug map not used: " + why + "\n");
    }
    return result;
}

int Simulator::load_chain() {
    MemoryMap& memory = board_.memory();
    if (board_.setup().option_word() & board_option::kLoadMonitor) {
        const std::string monitor =
            program_dir_.string() + "/../config/kiv12/" + std::string(kMonitorImage);
        // The monitor image goes through the same loader state as the load
        // file; the load file read next sets the start address again.
        if (load_srecord_file(monitor, memory, load_file_, output_) != kLoadOk)
            show(kFrameCaption, format_message(sim_message::kFailedToLoadMonitor, monitor.c_str()));
        else
            memory.set_rom_write_enable(false);
    }
    // A load file that cannot be opened is not reported.
    const int result = reload();
    if (result == kLoadError) {
        show(kFrameCaption,
             format_message(sim_message::kFailedToLoad, load_file_.load_file_path.c_str()));
        return result;
    }
    reset_simulator(true);
    cpu_.set_register(kRegPc, load_file_.load_start_address);
    if (result == kLoadOk && loaded_) loaded_();
    after_load_refresh();
    // The load just recorded the file's time: the next newer time is the
    // user's own rebuild, and the reload prompt asks about it.
    if (result == kLoadOk) first_activation_ = true;
    return result;
}

void Simulator::after_load_refresh() {
    if (!board_.memory().writable(cpu_.regs.pc))
        cpu_.set_register(kRegPc, load_file_.load_start_address);
    ui_->refresh_registers();
    ui_->mark_current_line();
    ui_->refresh_disassembly();
    ui_->refresh_memory();
    ui_->refresh_counters();
    ui_->refresh_status();
    ui_->set_apply_enabled(false);
}

void Simulator::load_new(std::optional<std::string> path) {
    if (!path) path = ui_->choose_load_file();
    if (!path) return;
    load_file_.load_file_path = *path;
    load_chain();
}

void Simulator::reload_with_message() {
    if (load_file_.load_file_path.empty()) return;
    if (reload() != kLoadOk) {
        show(kMessageCaption, sim_message::kLoadErrors);
        load_file_.load_start_address = 0;
    } else if (loaded_) {
        loaded_();
    }
    ui_->refresh_registers();
    ui_->refresh_disassembly();
    ui_->refresh_memory();
}

void Simulator::simulator_setup() {
    // A changed configuration was loaded afresh by the dialog's OK.
    if (ui_->run_target_setup()) return;
    reload_with_message();
}

void Simulator::window_created() {
    first_activation_ = false;
    board_.memory().erase();
    reset_simulator(true);
    DeviceSetup& setup = board_.setup();
    setup.types();
    if (closed_devices_) {
        // The board outlived the last window: its devices come back, those
        // read from the descriptor and those connected since alike.
        setup.close_all();
        apply_descriptor_text(setup, *closed_devices_);
        setup.commit();
        closed_devices_.reset();
    } else if (const std::string descriptor = setup.current_descriptor(); !descriptor.empty()) {
        read_descriptor(setup, descriptor);
    }
    board_.reset_cpu(cpu_.regs, false);
}

void Simulator::start_request() {
    if (started_) reset_simulator(false);
    started_ = true;
}

void Simulator::window_closing() {
    halt();
    closed_devices_ = descriptor_text(board_.setup());
    board_.setup().close_all();
}

void Simulator::window_activated() {
    if (load_file_.load_file_path.empty()) return;
    std::error_code ec;
    const auto time = std::filesystem::last_write_time(load_file_.load_file_path, ec);
    if (ec || time <= load_file_.load_file_time) return;
    load_file_.load_file_time = time;
    // The first newer time found after the window was created belongs to
    // the load chain that is about to run (or just ran); it asks nothing.
    if (first_activation_ && ui_->ask_yes_no(kFrameCaption, sim_message::kUpdatedLoadfile))
        reload_with_message();
    first_activation_ = true;
}

} // namespace torva
