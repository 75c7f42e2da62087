// The control of one simulated run over a board and its CPU: load chain,
// resets, steps, slow and fast runs driven by the caller's timer, halting,
// breakpoints and the break conditions, and the counters.
#pragma once

#include "cpu/cpu.h"
#include "cpu/interrupt_host.h"
#include "io/board.h"
#include "sim/breakpoint_table.h"
#include "sim/sim_commands.h"
#include "sim/simulator_ui.h"
#include "sim/srecord_loader.h"
#include "sim/step_goal.h"

#include <array>
#include <bitset>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace torva {

class Simulator final : private InterruptHost {
public:
    // Fast runs execute at most this many steps per timer tick.
    static constexpr int kFastStepsPerTick = 500;
    static constexpr int kTimerMilliseconds = 100;
    static constexpr char kMonitorImage[] = "rt12_kbm12.s19";
    // Run Real Time: the board's bus clock by default, and the bounds of the
    // setting (0 is "unlimited": as fast as the host allows).
    static constexpr uint32_t kDefaultBusClock = 8'000'000;
    static constexpr uint32_t kMinBusClock = 1'000'000;
    static constexpr uint32_t kMaxBusClock = 50'000'000;
    // Run Real Time ticks at the display's pace, and each tick runs the
    // simulated time the host's clock moved on in slices of at most
    // kRealTimeSliceNs; the devices' display frame ends after each slice, so
    // their windows see the board at that pace (a 100 ms burst showed a
    // blinking LED once in six of its states).
    static constexpr int kRealTimeTimerMilliseconds = 16;
    static constexpr uint64_t kRealTimeSliceNs = 16'000'000;
    // The host time one real-time tick may use, so that the windows still
    // paint and answer between ticks.
    static constexpr uint64_t kRealTimeHostBudgetNs = 12'000'000;

    // program_dir is where the monitor image is found, at
    // <program_dir>/../config/kiv12. Device setup messages go to the ui too.
    Simulator(Board& board, Cpu& cpu, SimulatorUi& ui, std::filesystem::path program_dir,
              TextSink output = {});
    // A simulator without a window yet: until one binds, boxes, questions
    // and refreshes go nowhere.
    Simulator(Board& board, Cpu& cpu, std::filesystem::path program_dir, TextSink output = {});
    ~Simulator() override;
    Simulator(const Simulator&) = delete;
    Simulator& operator=(const Simulator&) = delete;

    Board& board() { return board_; }
    Cpu& cpu() { return cpu_; }
    BreakpointTable& breakpoints() { return breakpoints_; }
    LoadFileState& load_file() { return load_file_; }

    // --- state the window shows -------------------------------------------
    RunMode run_mode() const { return run_mode_; }
    bool running() const { return run_mode_ != RunMode::kHalted; }
    bool exception_handling() const { return exception_handling_; }
    bool break_on_io() const { return break_on_io_; }
    bool break_on_irq() const { return break_on_irq_; }
    bool rom_write_enable() { return board_.memory().rom_write_enable(); }
    bool manual_request(InterruptSource kind) const {
        return (kind == InterruptSource::kIrq || kind == InterruptSource::kXirq) &&
               manual_[size_t(kind)];
    }
    // Whether an interrupt of this kind is being serviced (its RTI has not
    // come yet), at any depth of nesting.
    bool in_service(InterruptSource kind) const;
    uint32_t service_nesting() const { return uint32_t(services_.size()); }
    uint32_t cycle_counter() const { return cycle_counter_; }
    uint32_t byte_counter() const { return byte_counter_; }
    uint32_t cycle_total() const { return board_.clock().total(); }
    // The toolbar's rule: while running only Halt; while halted all but
    // Halt, and Reload only with a load file base name.
    bool toolbar_enabled(int id) const;
    // Whether a command may be given now from the menus and panel buttons:
    // the toolbar's rule, except that the breakpoint and break-condition
    // items, the Activate buttons, the counters' and lamps' buttons work
    // while running too. dispatch refuses what this refuses.
    bool command_enabled(int id) const;

    // --- commands ----------------------------------------------------------
    // Gives a command by its identifier (768-812). selected_address is the
    // selected disassembly line for the commands that act on it; path the
    // file a Load New carries. False for an identifier the simulator lacks.
    bool dispatch(int id, std::optional<uint32_t> selected_address = std::nullopt,
                  std::optional<std::string> path = std::nullopt);

    // Simulator reset; with clearing also all breakpoints and both break conditions.
    void reset_simulator(bool clear_breakpoints);
    // CPU reset that takes PC from the reset vector.
    void reset_cpu();
    // Gives the load file's loader result (the monitor image's is only shown).
    int load_chain();
    // Loads the load file into memory (no reset); gives the loader's result.
    int reload();
    // Reload after Simulator Setup or the reload prompt: any failure shows
    // the load-errors message and sets the load start address to 0.
    void reload_with_message();
    void after_load_refresh();
    void load_new(std::optional<std::string> path);
    void simulator_setup();

    void start_run(RunMode mode);
    // Run Real Time's bus clock in Hz; 0 for unlimited. Values outside
    // kMinBusClock..kMaxBusClock (other than 0) are brought inside.
    void set_bus_clock(uint32_t hz);
    uint32_t bus_clock() const { return bus_clock_; }
    // How instructions count bus cycles (classic by default). The counters,
    // the real-time interrupt, the serial lines, the devices and Run Real
    // Time's pacing all take their time from these cycles. Headless runners
    // (rt12run, lab checks) choose the model here too.
    void set_cycle_model(CycleModel model) { cpu_.set_cycle_model(model); }
    CycleModel cycle_model() const { return cpu_.cycle_model(); }
    // Monotonic nanoseconds; real-time runs measure time with it.
    using TimeSource = std::function<uint64_t()>;
    void set_time_source(TimeSource source) { time_ = std::move(source); }
    // Called after each successful load of the load file (the load chain,
    // Load New, Reload), once the breakpoint table and the debug map are
    // those of the new program: the owner of breakpoints kept by source
    // line puts them back.
    void set_loaded_hook(std::function<void()> hook) { loaded_ = std::move(hook); }
    // What the last second of a real-time run achieved: simulated time per
    // host time (1.0 holds the clock), and instructions per host second.
    double real_time_ratio() const { return speed_ratio_; }
    double instructions_per_second() const { return speed_ips_; }
    void halt();
    // One step as the Step button gives it: only while halted.
    void step_button();
    // A source step (Step Into, Over, Out, Run to Cursor): only while
    // halted. The first instruction runs without checks (a step from a
    // breakpoint leaves it); then the run goes on at full speed, as Run Real
    // Time unlimited, with the devices served, until PC reaches one of the
    // goal's stops with the guard holding, a breakpoint, or a halt.
    void start_step(StepGoal goal);
    bool stepping() const { return step_goal_.has_value(); }
    // One run-timer tick.
    void tick();
    void goto_here(uint32_t address);
    void clear_all_breaks();
    void toggle_rom_write_enable();
    void toggle_exception_handling();
    void set_break_on_io(bool on);
    void set_break_on_irq(bool on);
    // Raises the manual request of IRQ or XIRQ; other kinds do nothing.
    void request_interrupt(InterruptSource kind);
    void clear_cycle_counter();
    void clear_byte_counter();

    // One step of the run loop (interrupt offer, waiting, or one instruction).
    void step(bool full_display) { step_with<true>(full_display); }

    // --- window life -------------------------------------------------------
    // The simulator outlives its window: a window binds itself when it is
    // created and unbinds when it closes; unbound, a do-nothing ui answers.
    void bind_ui(SimulatorUi& ui) { ui_ = &ui; }
    void unbind_ui() { ui_ = &idle_ui_; }
    bool ui_bound() const { return ui_ != &idle_ui_; }
    bool bound_to(const SimulatorUi& ui) const { return ui_ == &ui; }
    // The start request of the frame's Simulator command: a simulator
    // started that way before is reset first (breakpoints kept).
    void start_request();
    // The headless part of creating the window: erase flash, reset with
    // clearing, fetch the device list, read the current descriptor again,
    // reset the CPU and modules without the vector.
    void window_created();
    // Closing: halt, then close every connected device.
    void window_closing();
    // The reload prompt, run each time the window becomes active.
    void window_activated();

    // --- headless runs -----------------------------------------------------
    enum class StopReason { kOpcode, kBreakpoint, kHalted, kStepLimit };
    struct RunResult {
        StopReason reason;
        uint64_t steps;
    };
    // Runs fast steps from the current state until the next instruction's
    // opcode is one of stop_opcodes (checked only when the CPU is not waiting
    // and the opcode lies in plain storage; the instruction is not
    // executed), an enabled or temporary breakpoint is reached, the run
    // halts, or max_steps steps have run. With cycle_stop the run also ends
    // (as kStepLimit) once the cycle total reaches it, after the step that
    // got there: a caller that paces the run in slices of bus cycles. No
    // display callbacks are made.
    RunResult run_headless(uint64_t max_steps, std::span<const uint8_t> stop_opcodes,
                           std::optional<uint32_t> cycle_stop = std::nullopt);

    // Runs up to max_steps steps of a fast run, each after the breakpoint
    // check, without display callbacks; the run halts at a breakpoint (or
    // break on IO, break on IRQ, an interrupt while exception handling is
    // off). The caller refreshes what it shows afterwards.
    RunResult run_fast(uint64_t max_steps);

    // While any listener is added, every executed instruction is also
    // disassembled and given to each with its address (command-line traces,
    // the window's trace); costs a little speed. add gives an id for remove.
    using InstructionObserver = std::function<void(uint32_t address, std::string_view text)>;
    int add_instruction_listener(InstructionObserver listener);
    void remove_instruction_listener(int id);

private:
    // InterruptHost: what the CPU asks while entering or leaving a service.
    bool breakpoint_match(uint16_t pc, uint8_t ppage) override;
    uint16_t onchip_vector() override;
    void service_ended(InterruptSource source) override;

    // One tick of Run Real Time: as many steps as the clock allows for the
    // time since the last tick, in display slices, within the tick's host
    // time.
    void tick_real_time();
    // One display slice of a real-time tick: steps until the cycle total
    // reaches slice_end (none: unlimited) or the tick's host time is used up
    // (then true). Gives the steps run through steps.
    bool run_real_time_slice(std::optional<uint32_t> slice_end, uint64_t tick_start,
                             uint64_t& steps);
    void note_speed(uint64_t elapsed_ns, uint64_t cycles, uint64_t steps);
    // The step; kNotify false leaves out the per-step refreshes a headless
    // run has no use for.
    template <bool kNotify>
    void step_with(bool full_display);
    // The run loop under the fast, real-time and headless runs. Before each
    // step it checks, in this order: a halt, the stop opcode (with stops),
    // the cycle stop of a real-time run, the breakpoint and the step limit
    // (the limit first with limit_first, as a timer tick counts). Stretches
    // of steps with nothing to attend to run through run_quiet.
    RunResult run_steps(uint64_t max_steps, bool stops, bool limit_first);
    // Plain steps: no interrupt to offer, no serial line busy, no device
    // due, no breakpoint possible at PC, no serial input poll due (the
    // first step's poll and breakpoint are the caller's). Stops early when
    // one of these may have changed, at a stop opcode, or when the CPU
    // starts waiting. Gives the number of steps run.
    uint64_t run_quiet(uint64_t max_steps);
    // Whether the stop opcode check finds one at the current address.
    bool at_stop_opcode();
    // PC is at one of the step goal's stops: true when the step ended there
    // (the run halted).
    bool step_goal_reached();
    // The addresses where a quiet stretch must stop: the breakpoints' and,
    // during a source step, the goal's.
    const AddressSet* stretch_stops();
    // Sets the run clock's deadline for the steps ahead.
    void plan_service();
    // The kind of the interrupt to offer now (0 for none); consumes a manual request.
    InterruptSource pending_interrupt();
    // Executes the instruction at PC with the serial service around it and
    // adds its cycles and bytes to the counters. Gives whether control left
    // the straight sequence.
    bool execute_instruction();
    // One cycle of a CPU parked in WAI or STOP, with the board's I/O service.
    void wait_one_cycle();
    // The breakpoint check of a run at the current address; true when the run halts.
    bool breakpoint_hit();
    void refresh_after_halt();
    // What every way a run ends has in common (Halt, a reset during a run):
    // the run timer stops and the run mode is Halted.
    void end_run();
    void show(std::string_view caption, std::string_view text) { ui_->show_message(caption, text); }

    Board& board_;
    Cpu& cpu_;
    SimulatorUi idle_ui_;
    SimulatorUi* ui_;
    std::filesystem::path program_dir_;
    TextSink output_;
    BreakpointTable breakpoints_;
    LoadFileState load_file_;

    RunMode run_mode_ = RunMode::kHalted;
    bool exception_handling_ = true;
    bool break_on_io_ = false;
    bool break_on_irq_ = false;
    // Break on IO suppressed an access; the run halts after the instruction.
    bool io_break_pending_ = false;
    std::array<bool, 3> manual_{};
    // Interrupts in service, innermost last: the kind and the stack pointer
    // before its frame was pushed. An RTI ends every service whose frame
    // lies at or below the stack pointer it restores, so nested services,
    // SWI instructions and abandoned frames keep the lamps true.
    struct Service {
        InterruptSource kind;
        uint16_t sp_before;
    };
    std::vector<Service> services_;
    // The breakpoint module matched: the CPU's "interrupt" was its SWI.
    bool breakpoint_swi_ = false;
    uint32_t bus_clock_ = kDefaultBusClock;
    TimeSource time_;
    std::function<void()> loaded_;
    uint64_t last_tick_ns_ = 0;
    int64_t cycle_budget_ = 0;
    uint64_t speed_ns_ = 0, speed_cycles_ = 0, speed_steps_ = 0;
    double speed_ratio_ = 0, speed_ips_ = 0;
    uint32_t cycle_counter_ = 0;
    uint32_t byte_counter_ = 0;
    // The stop opcodes of a headless run (run_headless).
    std::bitset<256> stop_opcodes_;
    // A real-time run's step loop ends once the cycle total reaches this.
    std::optional<uint32_t> cycle_stop_;
    bool first_activation_ = false;
    bool started_ = false;
    // The devices connected when the window closed, in a descriptor's
    // words; the next window connects them again.
    std::optional<std::string> closed_devices_;

    // The source step under way, and the union of its stops with the
    // breakpoints' filter (rebuilt when either changes).
    std::optional<StepGoal> step_goal_;
    AddressSet step_filter_;
    bool step_filter_valid_ = false;
    uint64_t step_filter_changes_ = 0;

    std::vector<std::pair<int, InstructionObserver>> listeners_;
    int next_listener_id_ = 1;
    std::string trace_line_;
};

} // namespace torva
