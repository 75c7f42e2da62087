// Run control: the one-step algorithm, starting and halting runs, the timer
// tick, the break conditions, the counters and the interrupt bookkeeping.
#include "sim/simulator.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <utility>

namespace torva {

Simulator::Simulator(Board& board, Cpu& cpu, SimulatorUi& ui, std::filesystem::path program_dir,
                     TextSink output)
    : Simulator(board, cpu, std::move(program_dir), std::move(output)) {
    bind_ui(ui);
}

Simulator::Simulator(Board& board, Cpu& cpu, std::filesystem::path program_dir, TextSink output)
    : board_(board), cpu_(cpu), ui_(&idle_ui_), program_dir_(std::move(program_dir)),
      output_(std::move(output)) {
    time_ = [] {
        return uint64_t(std::chrono::duration_cast<std::chrono::nanoseconds>(
                            std::chrono::steady_clock::now().time_since_epoch())
                            .count());
    };
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
        board_.clock().attend();
        return true;
    });
}

Simulator::~Simulator() {
    if (cpu_.interrupt_host == this) cpu_.interrupt_host = nullptr;
    board_.routing().set_break_check({});
    board_.setup().set_message_sink({});
}

bool Simulator::breakpoint_match(uint16_t pc, uint8_t) {
    breakpoint_swi_ = board_.modules().core.breakpoint_match(pc);
    return breakpoint_swi_;
}

uint16_t Simulator::onchip_vector() {
    return board_.onchip_interrupt_vector(cycle_total()).value_or(0);
}

void Simulator::service_ended(InterruptSource) {
    // The CPU names only the last source it entered; the stack pointer the
    // RTI restored tells which services really ended.
    const size_t before = services_.size();
    while (!services_.empty() && services_.back().sp_before <= cpu_.regs.sp)
        services_.pop_back();
    if (services_.size() != before) ui_->refresh_status();
}

bool Simulator::in_service(InterruptSource kind) const {
    return std::any_of(services_.begin(), services_.end(),
                       [kind](const Service& service) { return service.kind == kind; });
}

bool Simulator::toolbar_enabled(int id) const {
    if (running()) return id == sim_cmd::kHalt;
    if (id == sim_cmd::kHalt) return false;
    if (id == sim_cmd::kReload) return !load_file_.load_file_base_name.empty();
    return true;
}

bool Simulator::command_enabled(int id) const {
    if (!running()) return toolbar_enabled(id);
    switch (id) {
    case sim_cmd::kHalt:
    case sim_cmd::kClearCycles:
    case sim_cmd::kClearBytes:
    case sim_cmd::kToggleRomWrite:
    case sim_cmd::kToggleExceptions:
    case sim_cmd::kActivateIrq:
    case sim_cmd::kActivateXirq: return true;
    default:
        // Breakpoints and break conditions (797-806); not Goto here, which starts a run.
        return id >= sim_cmd::kSetBreak && id <= sim_cmd::kBreakpointTable;
    }
}

void Simulator::reset_simulator(bool clear_breakpoints) {
    // A reset that comes during a run ends it as Halt does.
    if (running()) end_run();
    io_break_pending_ = false;
    exception_handling_ = true;
    cycle_counter_ = byte_counter_ = 0;
    board_.reset_clock();
    cpu_.cpu_waiting = false;
    manual_.fill(false);
    services_.clear();
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

InterruptSource Simulator::pending_interrupt() {
    constexpr size_t kIrq = size_t(InterruptSource::kIrq);
    constexpr size_t kXirq = size_t(InterruptSource::kXirq);
    InterruptSource manual = InterruptSource::kNone;
    if (manual_[kIrq]) {
        manual_[kIrq] = false;
        manual = InterruptSource::kIrq;
    } else if (manual_[kXirq]) {
        manual_[kXirq] = false;
        manual = InterruptSource::kXirq;
    }
    // The modules' cheap test first: most steps have nothing pending.
    const uint32_t total = cycle_total();
    if ((board_.modules().may_request(total) && board_.onchip_interrupt_vector(total)) ||
        board_.device_interrupt_pending())
        return InterruptSource::kIrq;
    return manual;
}

bool Simulator::execute_instruction() {
    const uint32_t address = cpu_.current_execution_address();
    uint32_t cycles = 0, pc_written = 0;
    board_.before_instruction();
    uint32_t length;
    if (!listeners_.empty()) [[unlikely]] {
        trace_line_.clear();
        length = cpu_.cpu_step(address, true, true, cycles, pc_written);
        for (const auto& [id, listener] : listeners_)
            listener(address, trace_line_);
    } else {
        length = cpu_.cpu_step(address, true, false, cycles, pc_written);
    }
    cycle_counter_ += cycles;
    board_.clock().add(cycles);
    byte_counter_ += length;
    board_.after_instruction();
    return pc_written != 0;
}

template <bool kNotify>
void Simulator::step_with(bool full_display) {
    if (const InterruptSource kind = pending_interrupt(); kind != InterruptSource::kNone) {
        if (!exception_handling_) {
            halt();
            show(kMessageCaption, sim_message::kIrqPendingNoExceptions);
            return;
        }
        breakpoint_swi_ = false;
        const uint16_t sp_before = cpu_.regs.sp;
        if (cpu_.cpu_interrupt(kind)) {
            // Leaving WAI or STOP costs the CPU 5 cycles.
            cycle_counter_ += cpu_.ctx.cycles;
            board_.clock().add(cpu_.ctx.cycles);
            // The breakpoint module's SWI services no request. Frames at or
            // below this one were abandoned (the stack was set anew).
            if (!breakpoint_swi_) {
                while (!services_.empty() && services_.back().sp_before <= sp_before)
                    services_.pop_back();
                services_.push_back({kind, sp_before});
            }
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
    board_.before_instruction();
    ++cycle_counter_;
    board_.clock().add(1);
    board_.after_instruction();
}

void Simulator::step_button() {
    if (running()) return;
    step(true);
}

void Simulator::start_step(StepGoal goal) {
    if (running() || !goal.stops) return;
    step_goal_ = std::move(goal);
    step_filter_valid_ = false;
    start_run(RunMode::kRunningRealTime);
    // The first instruction may have reached the goal already.
    if (running() && (*step_goal_->stops)[cpu_.regs.pc]) step_goal_reached();
}

bool Simulator::step_goal_reached() {
    StepGoal& goal = *step_goal_;
    if (!goal.guard_holds(cpu_.regs.sp)) return false;
    if (goal.then) {
        // The return of the subroutine stepped out of: it runs, and the
        // step ends at the next address with source.
        goal.stops = std::move(goal.then);
        goal.guard = StepGoal::Guard::kNone;
        step_filter_valid_ = false;
        step_with<false>(false);
        plan_service();
        if (!running()) return true;
        if (!(*goal.stops)[cpu_.regs.pc]) return false;
    }
    halt();
    return true;
}

const AddressSet* Simulator::stretch_stops() {
    if (!step_goal_) return breakpoints_.filter();
    if (!step_filter_valid_ || step_filter_changes_ != breakpoints_.changes()) {
        step_filter_ = *step_goal_->stops;
        if (const AddressSet* breaks = breakpoints_.filter()) step_filter_ |= *breaks;
        step_filter_changes_ = breakpoints_.changes();
        step_filter_valid_ = true;
    }
    return &step_filter_;
}

void Simulator::start_run(RunMode mode) {
    if (running() || mode == RunMode::kHalted) return;
    last_tick_ns_ = time_();
    cycle_budget_ = 0;
    // The first display frame starts with the run.
    board_.end_display_frame(false);
    speed_ns_ = speed_cycles_ = speed_steps_ = 0;
    speed_ratio_ = speed_ips_ = 0;
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

void Simulator::set_bus_clock(uint32_t hz) {
    bus_clock_ = hz == 0 ? 0 : std::clamp(hz, kMinBusClock, kMaxBusClock);
}

void Simulator::tick() {
    if (run_mode_ == RunMode::kRunningRealTime) {
        tick_real_time();
        return;
    }
    if (run_mode_ == RunMode::kRunningSlow) {
        if (!breakpoint_hit()) step(true);
        return;
    }
    if (run_mode_ != RunMode::kRunningFast) return;
    const uint64_t steps = run_steps(kFastStepsPerTick, false, true).steps;
    board_.catch_up_devices();
    if (steps == 0) return;
    // A fast step shows no disassembly: the counters, registers and lamps
    // follow once per tick.
    ui_->refresh_counters();
    ui_->refresh_registers();
    ui_->refresh_status();
}

Simulator::RunResult Simulator::run_fast(uint64_t max_steps) {
    if (run_mode_ == RunMode::kHalted) return {StopReason::kHalted, 0};
    const RunResult result = run_steps(max_steps, false, false);
    // The device windows show the models as of the last step.
    board_.catch_up_devices();
    return result;
}

void Simulator::tick_real_time() {
    // A host that stalled (a modal box, a suspended laptop) gives at most
    // half a second: the run does not race to catch up.
    constexpr uint64_t kMaxElapsedNs = 500'000'000;
    const uint64_t start = time_();
    const uint64_t elapsed = std::min(start - last_tick_ns_, kMaxElapsedNs);
    last_tick_ns_ = start;
    // A source step runs unlimited, whatever the clock setting.
    const bool clocked = bus_clock_ != 0 && !step_goal_;
    // Unlimited runs are sliced as the board's own clock would be.
    const uint64_t clock = clocked ? bus_clock_ : kDefaultBusClock;
    const int64_t slice_cycles = int64_t(clock * kRealTimeSliceNs / 1'000'000'000);
    if (clocked) cycle_budget_ += int64_t(clock * elapsed / 1'000'000'000);
    // The time owed is cut into equal slices, none longer than a frame.
    const int64_t slices =
        clocked ? std::max<int64_t>(1, (cycle_budget_ + slice_cycles - 1) / slice_cycles) : 1;
    const int64_t slice = clocked ? (cycle_budget_ + slices - 1) / slices : slice_cycles;
    const uint32_t first_total = cycle_total();
    uint64_t steps = 0;
    while (run_mode_ == RunMode::kRunningRealTime && (!clocked || cycle_budget_ > 0)) {
        const uint32_t before = cycle_total();
        const bool out_of_time = run_real_time_slice(
            before + uint32_t(std::min(slice, clocked ? cycle_budget_ : slice)), start, steps);
        if (clocked) cycle_budget_ -= int64_t(cycle_total() - before);
        // The display frame ends where the windows will look (the tick's
        // last slice) and wherever at least a slice's time is still to run,
        // so the frame shown spans a slice or more: a tick a little longer
        // than a slice, cut in two halves, shows both. A run that halted in
        // the slice shows its devices as latched.
        const bool tick_ends = out_of_time || !clocked || cycle_budget_ <= 0;
        if (run_mode_ == RunMode::kRunningRealTime && (tick_ends || cycle_budget_ >= slice_cycles))
            board_.end_display_frame(true);
        if (out_of_time) {
            // The host cannot keep this clock: what is left is dropped
            // rather than owed, and the speed shown says so.
            cycle_budget_ = 0;
            break;
        }
    }
    board_.catch_up_devices();
    note_speed(elapsed, cycle_total() - first_total, steps);
    ui_->refresh_counters();
    ui_->refresh_registers();
    ui_->refresh_status();
}

bool Simulator::run_real_time_slice(std::optional<uint32_t> slice_end, uint64_t tick_start,
                                    uint64_t& steps) {
    // Steps between two looks at the host's clock.
    constexpr uint64_t kBatch = 1024;
    while (run_mode_ == RunMode::kRunningRealTime) {
        // The step that reaches the slice's end is its last.
        cycle_stop_ = slice_end;
        steps += run_steps(kBatch, false, false).steps;
        cycle_stop_.reset();
        if (slice_end && int32_t(cycle_total() - *slice_end) >= 0) return false;
        if (time_() - tick_start >= kRealTimeHostBudgetNs) return true;
    }
    return false;
}

void Simulator::note_speed(uint64_t elapsed_ns, uint64_t cycles, uint64_t steps) {
    speed_ns_ += elapsed_ns;
    speed_cycles_ += cycles;
    speed_steps_ += steps;
    // Figures over about the last second; the first shows after 0.2 s.
    if (speed_ns_ < 200'000'000) return;
    const double seconds = double(speed_ns_) / 1e9;
    const double clock = bus_clock_ != 0 ? bus_clock_ : kDefaultBusClock;
    speed_ratio_ = double(speed_cycles_) / (clock * seconds);
    speed_ips_ = double(speed_steps_) / seconds;
    if (speed_ns_ >= 1'000'000'000) speed_ns_ = speed_cycles_ = speed_steps_ = 0;
}

void Simulator::refresh_after_halt() {
    ui_->mark_current_line();
    ui_->refresh_registers();
    ui_->refresh_disassembly();
    ui_->refresh_memory();
    ui_->set_apply_enabled(false);
}

void Simulator::end_run() {
    ui_->stop_timer();
    step_goal_.reset();
    run_mode_ = RunMode::kHalted;
    // No more frames are averaged: the devices show what is latched.
    board_.end_display_frame(false);
}

void Simulator::halt() {
    end_run();
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

void Simulator::request_interrupt(InterruptSource kind) {
    if (kind != InterruptSource::kIrq && kind != InterruptSource::kXirq) return;
    manual_[size_t(kind)] = true;
    board_.clock().attend();
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

int Simulator::add_instruction_listener(InstructionObserver listener) {
    const int id = next_listener_id_++;
    listeners_.emplace_back(id, std::move(listener));
    cpu_.trace_out = [this](std::string_view text) { trace_line_.append(text); };
    board_.clock().attend();
    return id;
}

void Simulator::remove_instruction_listener(int id) {
    std::erase_if(listeners_, [id](const auto& entry) { return entry.first == id; });
    if (listeners_.empty()) cpu_.trace_out = {};
}

Simulator::RunResult Simulator::run_headless(uint64_t max_steps,
                                             std::span<const uint8_t> stop_opcodes,
                                             std::optional<uint32_t> cycle_stop) {
    stop_opcodes_.reset();
    for (const uint8_t opcode : stop_opcodes)
        stop_opcodes_.set(opcode);
    cpu_.set_stop_opcodes(stop_opcodes);
    run_mode_ = RunMode::kRunningFast;
    cycle_stop_ = cycle_stop;
    const RunResult result = run_steps(max_steps, stop_opcodes_.any(), false);
    cycle_stop_.reset();
    if (result.reason != StopReason::kHalted) run_mode_ = RunMode::kHalted;
    cpu_.set_stop_opcodes({});
    // Whoever reads the device models next sees them as of the last step.
    board_.catch_up_devices();
    return result;
}

Simulator::RunResult Simulator::run_steps(uint64_t max_steps, bool stops, bool limit_first) {
    // Whatever happened since the last run (edits, resets, the user's
    // devices) is seen from the first step on.
    plan_service();
    uint64_t steps = 0;
    for (;;) {
        if (io_break_pending_) [[unlikely]] {
            // Break on IO in a plain step: the run halts after it.
            io_break_pending_ = false;
            halt();
        }
        if (run_mode_ == RunMode::kHalted) return {StopReason::kHalted, steps};
        if (stops && at_stop_opcode()) return {StopReason::kOpcode, steps};
        if (cycle_stop_ && int32_t(cycle_total() - *cycle_stop_) >= 0)
            return {StopReason::kStepLimit, steps};
        if (limit_first && steps == max_steps) return {StopReason::kStepLimit, steps};
        if (breakpoints_.may_hold(cpu_.regs.pc) && breakpoint_hit())
            return {StopReason::kBreakpoint, steps};
        if (step_goal_ && (*step_goal_->stops)[cpu_.regs.pc] && step_goal_reached())
            return {StopReason::kHalted, steps};
        if (steps == max_steps) return {StopReason::kStepLimit, steps};
        if (!board_.clock().due()) {
            // Nothing to attend to: this step is a plain one (its serial
            // input poll included), and so are the ones after it until
            // something changes or the next poll is due.
            board_.before_instruction();
            steps += run_quiet(std::min(max_steps - steps, board_.steps_until_poll()));
            continue;
        }
        step_with<false>(false);
        ++steps;
        plan_service();
    }
}

uint64_t Simulator::run_quiet(uint64_t max_steps) {
    RunClock& clock = board_.clock();
    // The first step's breakpoint was checked by the caller.
    const Cpu::Stretch run = cpu_.execute_stretch(max_steps, clock, stretch_stops());
    cycle_counter_ += run.cycles;
    byte_counter_ += run.bytes;
    if (run.steps == 0) return 0; // a stop opcode: the caller looks
    if (clock.due()) {
        // The last instruction raised something (a register write, a
        // device) or the clock reached the deadline: the step ends as every
        // step does, and the next one looks.
        board_.after_instruction();
    } else if (cpu_.cpu_waiting) [[unlikely]] {
        // WAI or STOP: from the next step on the CPU waits for an interrupt.
        clock.attend();
    }
    if (run.steps > 1) board_.pass_steps_without_poll(run.steps - 1);
    return run.steps;
}

bool Simulator::at_stop_opcode() {
    // Only plain storage is looked at: reading an I/O address could change
    // what the instruction itself then reads.
    if (cpu_.cpu_waiting) return false;
    const uint32_t address = cpu_.current_execution_address();
    if (board_.routing().claims(address)) return false;
    const uint8_t* opcode = std::as_const(board_.memory()).storage(address);
    if (!opcode || !stop_opcodes_[*opcode]) return false;
    run_mode_ = RunMode::kHalted;
    return true;
}

void Simulator::plan_service() {
    // The run control's own reasons to look at every step.
    const bool busy = manual_request(InterruptSource::kIrq) ||
                      manual_request(InterruptSource::kXirq) || cpu_.cpu_waiting ||
                      io_break_pending_ || !listeners_.empty();
    board_.plan_service(busy);
    // A real-time run stops at the end of its cycle budget.
    if (cycle_stop_) board_.clock().attend_at(*cycle_stop_);
}

} // namespace torva
