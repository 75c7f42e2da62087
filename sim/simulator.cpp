// Run control: the one-step algorithm, starting and halting runs, the timer
// tick, the break conditions, the counters and the interrupt bookkeeping.
#include "sim/simulator.h"

#include <bitset>
#include <cstdio>

namespace torva {

Simulator::Simulator(Board& board, Cpu& cpu, SimulatorUi& ui, std::filesystem::path program_dir,
                     TextSink output)
    : Simulator(board, cpu, std::move(program_dir), std::move(output)) {
    bind_ui(ui);
}

Simulator::Simulator(Board& board, Cpu& cpu, std::filesystem::path program_dir, TextSink output)
    : board_(board), cpu_(cpu), ui_(&idle_ui_), program_dir_(std::move(program_dir)),
      output_(std::move(output)) {
    cpu_.interrupt_host = this;
    board_.setup().set_message_sink(
        [this](const std::string& text) { ui_->show_message(kFrameCaption, text); });
    // Break on IO: only while a run is in progress; the first access is not
    // made and the run halts once its instruction has completed. Halting
    // here, inside the access, would let the window's refresh disassemble
    // through the CPU in the middle of the instruction.
    board_.routing().set_break_check([this](uint32_t) {
        if (!break_on_io_ || run_mode_ == RunMode::kHalted || io_break_pending_) return false;
        io_break_pending_ = true;
        return true;
    });
}

Simulator::~Simulator() {
    if (cpu_.interrupt_host == this) cpu_.interrupt_host = nullptr;
    board_.routing().set_break_check({});
    board_.setup().set_message_sink({});
}

bool Simulator::breakpoint_match(uint16_t pc, uint8_t) {
    return board_.modules().core.breakpoint_match(pc);
}

uint16_t Simulator::onchip_vector() {
    return board_.onchip_interrupt_vector(cycle_total_).value_or(0);
}

void Simulator::service_ended(uint8_t source) {
    // IRQ and the "as IRQ" code 255 share one indicator.
    const int kind = source == 255 ? kIrq : source;
    if (kind > 0 && kind < kKinds) in_service_[size_t(kind)] = false;
    if (service_nesting_ > 0) --service_nesting_;
    ui_->refresh_status();
}

bool Simulator::command_enabled(int id) const {
    if (running()) return id == sim_cmd::kHalt;
    if (id == sim_cmd::kHalt) return false;
    if (id == sim_cmd::kReload) return !load_file_.load_file_base_name.empty();
    return true;
}

void Simulator::reset_simulator(bool clear_breakpoints) {
    run_mode_ = RunMode::kHalted;
    io_break_pending_ = false;
    exception_handling_ = true;
    cycle_counter_ = byte_counter_ = cycle_total_ = 0;
    cpu_.cpu_waiting = false;
    manual_.fill(false);
    in_service_.fill(false);
    service_nesting_ = 0;
    if (clear_breakpoints) {
        breakpoints_.clear();
        break_on_io_ = break_on_irq_ = false;
    }
    board_.reset_cpu(cpu_.regs, false);
    ui_->update_toolbar();
}

void Simulator::reset_cpu() {
    // A reset wakes a CPU parked in WAI or STOP; the reset vector decides
    // where it goes on.
    cpu_.cpu_waiting = false;
    board_.reset_cpu(cpu_.regs, true);
    ui_->refresh_registers();
    ui_->refresh_disassembly();
    ui_->refresh_memory();
}

int Simulator::pending_interrupt() {
    int manual = 0;
    if (manual_[kIrq]) {
        manual_[kIrq] = false;
        manual = kIrq;
    } else if (manual_[kXirq]) {
        manual_[kXirq] = false;
        manual = kXirq;
    }
    // The modules' cheap test first: most steps have nothing pending.
    if ((board_.modules().may_request(cycle_total_) &&
         board_.onchip_interrupt_vector(cycle_total_)) ||
        board_.device_interrupt_pending())
        return kIrq;
    return manual;
}

bool Simulator::execute_instruction() {
    const uint32_t address = cpu_.current_execution_address();
    uint32_t cycles = 0, pc_written = 0;
    board_.before_instruction(cycle_total_);
    uint32_t length;
    if (instruction_observer_) [[unlikely]] {
        trace_line_.clear();
        length = cpu_.cpu_step(address, true, true, cycles, pc_written);
        instruction_observer_(address, trace_line_);
    } else {
        length = cpu_.cpu_step(address, true, false, cycles, pc_written);
    }
    board_.after_instruction(cycles);
    cycle_counter_ += cycles;
    cycle_total_ += cycles;
    byte_counter_ += length;
    return pc_written != 0;
}

template <bool kNotify>
void Simulator::step_with(bool full_display) {
    if (const int kind = pending_interrupt()) {
        if (!exception_handling_) {
            halt();
            show(kMessageCaption, sim_message::kIrqPendingNoExceptions);
            return;
        }
        if (cpu_.cpu_interrupt(kind)) {
            // Leaving WAI or STOP costs the CPU 5 cycles.
            cycle_counter_ += cpu_.ctx.cycles;
            cycle_total_ += cpu_.ctx.cycles;
            in_service_[size_t(kind)] = true;
            ++service_nesting_;
            if (full_display) {
                ui_->refresh_registers();
                ui_->refresh_disassembly();
                ui_->refresh_memory();
            }
            if (kNotify) ui_->refresh_status();
            if (break_on_irq_) halt();
            return;
        }
    }
    if (cpu_.cpu_waiting) {
        wait_one_cycle();
        if (kNotify) ui_->refresh_counters();
        return;
    }
    const bool flow_changed = execute_instruction();
    if (kNotify) {
        if (full_display) {
            ui_->track_disassembly(flow_changed);
            ui_->refresh_registers();
            ui_->refresh_memory();
            ui_->refresh_counters();
        } else {
            ui_->refresh_counters();
            ui_->refresh_registers();
        }
        ui_->refresh_status();
    }
    if (io_break_pending_) [[unlikely]] {
        io_break_pending_ = false;
        halt();
    }
}

void Simulator::wait_one_cycle() {
    // The CPU executes nothing, but the board's clock runs on: the serial
    // lines, the devices and the real-time clock get their cycle, so that
    // an interrupt can come and wake the CPU.
    board_.before_instruction(cycle_total_);
    ++cycle_counter_;
    ++cycle_total_;
    board_.after_instruction(1);
}

void Simulator::step_button() {
    if (running()) return;
    step(true);
}

void Simulator::start_run(RunMode mode) {
    if (running() || mode == RunMode::kHalted) return;
    // The first instruction runs without the breakpoint and interrupt
    // checks, so a run started on a breakpoint leaves it. A CPU parked in
    // WAI or STOP executes nothing: it only counts the cycle.
    if (cpu_.cpu_waiting) {
        wait_one_cycle();
    } else {
        ui_->track_disassembly(execute_instruction());
    }
    ui_->refresh_counters();
    ui_->refresh_registers();
    run_mode_ = mode;
    ui_->update_toolbar();
    ui_->refresh_status();
    ui_->start_timer(mode);
}

bool Simulator::breakpoint_hit() {
    const uint32_t address = cpu_.current_execution_address();
    if (!breakpoints_.may_hold(address)) return false;
    const int index = breakpoints_.find(address);
    if (index < 0) return false;
    switch (breakpoints_.at(index).state) {
    case BreakState::kDisabled: return false;
    case BreakState::kTemporary: breakpoints_.remove_at(index); break;
    case BreakState::kEnabled: break;
    }
    halt();
    return true;
}

void Simulator::tick() {
    for (int steps = 0; run_mode_ != RunMode::kHalted;) {
        if (breakpoint_hit()) return;
        if (run_mode_ == RunMode::kRunningSlow) {
            step(true);
            return;
        }
        step(false);
        if (++steps == kFastStepsPerTick) return;
    }
}

void Simulator::refresh_after_halt() {
    ui_->mark_current_line();
    ui_->refresh_registers();
    ui_->refresh_disassembly();
    ui_->refresh_memory();
    ui_->set_apply_enabled(false);
}

void Simulator::halt() {
    ui_->stop_timer();
    run_mode_ = RunMode::kHalted;
    ui_->update_toolbar();
    ui_->refresh_status();
    refresh_after_halt();
}

void Simulator::goto_here(uint32_t address) {
    if (running()) return;
    breakpoints_.add(address, BreakState::kTemporary);
    start_run(RunMode::kRunningFast);
}

void Simulator::clear_all_breaks() {
    breakpoints_.clear();
    break_on_io_ = break_on_irq_ = false;
    ui_->refresh_status();
    ui_->refresh_disassembly();
}

void Simulator::toggle_rom_write_enable() {
    board_.memory().set_rom_write_enable(!board_.memory().rom_write_enable());
    ui_->refresh_status();
    ui_->refresh_memory();
}

void Simulator::toggle_exception_handling() {
    exception_handling_ = !exception_handling_;
    ui_->refresh_status();
}

void Simulator::set_break_on_io(bool on) {
    break_on_io_ = on;
    ui_->refresh_status();
}

void Simulator::set_break_on_irq(bool on) {
    break_on_irq_ = on;
    ui_->refresh_status();
}

void Simulator::request_interrupt(int kind) {
    if (kind != kIrq && kind != kXirq) return;
    manual_[size_t(kind)] = true;
    ui_->refresh_status();
}

void Simulator::clear_cycle_counter() {
    cycle_counter_ = 0;
    ui_->refresh_counters();
}

void Simulator::clear_byte_counter() {
    byte_counter_ = 0;
    ui_->refresh_counters();
}

void Simulator::set_instruction_observer(InstructionObserver observer) {
    instruction_observer_ = std::move(observer);
    if (instruction_observer_)
        cpu_.trace_out = [this](std::string_view text) { trace_line_.append(text); };
    else
        cpu_.trace_out = {};
}

Simulator::RunResult Simulator::run_headless(uint64_t max_steps,
                                             std::span<const uint8_t> stop_opcodes) {
    const MemoryMap& memory = board_.memory();
    const BoardRouting& routing = board_.routing();
    std::bitset<256> stops;
    for (const uint8_t opcode : stop_opcodes)
        stops.set(opcode);
    const bool any_stop = stops.any();
    run_mode_ = RunMode::kRunningFast;
    uint64_t steps = 0;
    for (;;) {
        if (run_mode_ == RunMode::kHalted) return {StopReason::kHalted, steps};
        const uint32_t address = cpu_.current_execution_address();
        if (any_stop && !cpu_.cpu_waiting) {
            // Only plain storage is looked at: reading an I/O address could
            // change what the instruction itself then reads.
            if (!routing.claims(address)) {
                const uint8_t* opcode = memory.storage(address);
                if (opcode && stops[*opcode]) {
                    run_mode_ = RunMode::kHalted;
                    return {StopReason::kOpcode, steps};
                }
            }
        }
        if (breakpoints_.may_hold(address) && breakpoint_hit())
            return {StopReason::kBreakpoint, steps};
        if (steps == max_steps) {
            run_mode_ = RunMode::kHalted;
            return {StopReason::kStepLimit, steps};
        }
        step_with<false>(false);
        ++steps;
    }
}

} // namespace torva
