// The run of one program through a lab: a board set up as the lab says, the
// program loaded and started, then simulated time moves from one time the
// lab names to the next (a stimulus, a check's time or window edge), the
// CPU running in between, until the time limit.
#include "lab/lab_runner.h"

#include "iosim/devices/display.h"
#include "iosim/devices/door.h"
#include "iosim/devices/drill.h"
#include "iosim/devices/flip_flop.h"
#include "iosim/devices/keyboard.h"
#include "iosim/devices/port_device.h"
#include "iosim/devices/printer.h"
#include "iosim/devices/serial_device.h"
#include "lab/lab_board.h"
#include "lab/monitor.h"
#include "lab/recorded_checks.h"
#include "lab/waveform_recorder.h"
#include "sim/simulated_board.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>

namespace torva::lab {
namespace {

constexpr uint8_t kOpcodeSwi = 0x3F;
constexpr uint8_t kOpcodeBgnd = 0x00;
// The run goes in slices of at most this many cycles, so that the board's
// 32-bit cycle total never laps between two looks at it.
constexpr Cycles kLongestSlice = Cycles(1) << 30;

size_t place_index(const BoardPlace& place) {
    return size_t(&place - kPlaces);
}

std::string byte_text(uint8_t value, uint8_t mask) {
    char text[40];
    if (std::has_single_bit(mask)) {
        std::snprintf(text, sizeof text, "bit %d = %d", std::countr_zero(mask),
                      (value & mask) ? 1 : 0);
    } else if (mask == 0xFF) {
        std::snprintf(text, sizeof text, "$%02X", unsigned(value));
    } else {
        std::snprintf(text, sizeof text, "$%02X (mask $%02X)", unsigned(value & mask),
                      unsigned(mask));
    }
    return text;
}

// What a time the run stops at does there; at one time, in this order.
enum class Phase { kStimulus, kOpen, kLook, kClose };
struct Event {
    Cycles at;
    Phase phase;
    size_t index; // of the stimulus, monitor or check
};

class LabRun {
public:
    LabRun(const Lab& lab, Program program, const RunOptions& options)
        : lab_(lab), options_(options),
          board_(options.program_dir, [this](std::string_view text) { loader_text_ += text; }) {
        result_.program = std::move(program);
    }

    SubmissionResult run();

private:
    Simulator& sim() { return board_.simulator(); }
    Board& board() { return board_.board(); }
    const std::optional<Symbols>& symbols() const { return result_.program.symbols; }

    // The run's time: while the lab's events at a time are handled, that
    // time; else the board's clock, extended past its 32 bits.
    Cycles now() const {
        if (handling_) return event_time_;
        return base_ + uint32_t(board_clock() - base_total_);
    }
    uint32_t board_clock() const {
        return const_cast<SimulatedBoard&>(board_).board().clock().total();
    }
    void rebase() {
        base_ = base_ + uint32_t(board_clock() - base_total_);
        base_total_ = board_clock();
    }

    bool start();
    void reset_cpu();
    void plan_stops();
    void build_monitors();
    void watch_devices();
    std::vector<Event> schedule() const;
    void advance_to(Cycles t);
    void stop(StopReason reason);
    void halt(StopReason reason);
    void apply(const Stimulus& stimulus);
    void place_changed(size_t place);
    void finish();

    Probe probe_for(const Check& check);
    Stream* stream_of(const BoardPlace& place);

    const Lab& lab_;
    const RunOptions& options_;
    SimulatedBoard board_;
    std::string loader_text_;
    SubmissionResult result_;

    Cycles base_ = 0;
    uint32_t base_total_ = 0;
    bool handling_ = false;
    Cycles event_time_ = 0;
    bool stopped_ = false;
    StopReason halt_reason_ = StopReason::kNone;
    CpuRegisters stop_registers_{};

    std::vector<uint8_t> stop_opcodes_;
    std::map<uint32_t, std::string> stop_names_;
    std::vector<Monitor> monitors_;
    std::vector<size_t> monitor_check_; // the check index of each monitor
    std::vector<std::vector<size_t>> watchers_{std::size(kPlaces)};
    std::map<uint32_t, std::vector<size_t>> bus_watchers_;
    std::map<uint32_t, uint8_t> bus_values_;
    std::vector<std::optional<CheckResult>> decided_;
    Stream streams_[3]; // sci0, sci1, printer
    size_t printed_ = 0;
    std::optional<UndefinedInstruction> undefined_;
    std::unique_ptr<WaveformRecorder> recorder_;
};

Stream* LabRun::stream_of(const BoardPlace& place) {
    if (place.name == "printer") return &streams_[2];
    const int line = place_serial_interface(place);
    return line >= 0 ? &streams_[line] : nullptr;
}

bool LabRun::start() {
    std::string why;
    if (!set_up_board(board_, lab_, options_.program_dir, why)) {
        result_.program.state = Program::State::kUnreadable;
        result_.program.error = why;
        return false;
    }
    sim().set_cycle_model(lab_.cycle_model);
    sim().load_file().load_file_path = result_.program.load_file.string();
    const int loaded = sim().load_chain();
    for (size_t line = 0; line < loader_text_.size();) {
        const size_t end = loader_text_.find('\n', line);
        result_.program.messages.push_back(loader_text_.substr(line, end - line));
        line = end == std::string::npos ? loader_text_.size() : end + 1;
    }
    if (loaded != kLoadOk) {
        result_.program.state = Program::State::kUnreadable;
        result_.program.error = "can't load " + result_.program.load_file.string();
        return false;
    }
    if (lab_.start_at_reset) reset_cpu();
    base_total_ = board_clock();
    return true;
}

void LabRun::reset_cpu() {
    // As the board's reset does: through the reset vector. A program loaded
    // without one (the vector reads $FFFF, erased flash) starts again where
    // its load file starts it.
    sim().reset_cpu();
    uint8_t high = 0xFF, low = 0xFF;
    board().memory().peek_byte(0xFFFE, high);
    board().memory().peek_byte(0xFFFF, low);
    if (high == 0xFF && low == 0xFF)
        board_.cpu().set_register(kRegPc, sim().load_file().load_start_address);
}

void LabRun::plan_stops() {
    for (const StopPoint& point : lab_.stops) {
        switch (point.kind) {
        case StopPoint::Kind::kSwi: stop_opcodes_.push_back(kOpcodeSwi); break;
        case StopPoint::Kind::kBgnd: stop_opcodes_.push_back(kOpcodeBgnd); break;
        case StopPoint::Kind::kLocation: {
            // A label the program lacks cannot stop it; the checks that name
            // it say so.
            std::string why;
            if (const auto address = resolve(point.location, symbols(), why)) {
                sim().breakpoints().add(*address & 0xFFFF, BreakState::kEnabled);
                stop_names_.emplace(*address & 0xFFFF, point.location.text());
            }
            break;
        }
        }
    }
}

Probe LabRun::probe_for(const Check& check) {
    Board& b = board();
    if (check.place && check.place->value == PlaceValue::kText) {
        auto* display = dynamic_cast<Display*>(place_device(b, *check.place));
        return [display, &check] {
            const std::string text = display ? display->text() : std::string();
            bool holds;
            std::string expected;
            if (check.text_equals) {
                holds = text == *check.text_equals;
                expected = shown_text(*check.text_equals);
            } else if (check.contains) {
                holds = text.find(*check.contains) != std::string::npos;
                expected = "text containing " + shown_text(*check.contains);
            } else {
                holds = match_end(*check.matches, text).has_value();
                expected = "text matching " + shown_text(check.pattern);
            }
            return Reading{holds, expected, shown_text(text)};
        };
    }
    // A byte: the place's outputs (switches for a place without outputs),
    // the control register of a door or drill, the flip-flop, or the byte
    // last written to a bus address.
    std::function<std::optional<uint8_t>()> value;
    if (!check.place) {
        value = [this, address = check.bus_address]() -> std::optional<uint8_t> {
            const auto found = bus_values_.find(address);
            if (found == bus_values_.end()) return std::nullopt;
            return found->second;
        };
    } else {
        Device* device = place_device(b, *check.place);
        value = [device]() -> std::optional<uint8_t> {
            if (auto* port = dynamic_cast<PortDevice*>(device))
                return port->has_outputs() ? port->outputs() : port->switches();
            if (auto* door = dynamic_cast<Door*>(device)) return door->control();
            if (auto* drill = dynamic_cast<Drill*>(device)) return drill->control();
            if (auto* flip_flop = dynamic_cast<FlipFlop*>(device))
                return flip_flop->is_set() ? 1 : 0;
            return std::nullopt;
        };
    }
    auto* followed =
        check.follows ? dynamic_cast<PortDevice*>(place_device(b, *check.follows)) : nullptr;
    return [value, followed, &check] {
        const uint8_t wanted = followed ? followed->switches() : check.equals.value_or(0);
        std::string expected = byte_text(wanted, check.mask);
        if (check.follows) expected += " (as " + std::string(check.follows->name) + ")";
        const auto seen = value();
        if (!seen) return Reading{false, expected, "nothing written yet"};
        return Reading{(*seen & check.mask) == (wanted & check.mask), expected,
                       byte_text(*seen, check.mask)};
    };
}

void LabRun::build_monitors() {
    decided_.resize(lab_.checks.size());
    for (size_t i = 0; i < lab_.checks.size(); ++i) {
        const Check& check = lab_.checks[i];
        if (check.kind != CheckKind::kOutput) continue;
        const size_t monitor = monitors_.size();
        monitors_.emplace_back(check, probe_for(check));
        monitor_check_.push_back(i);
        if (check.place)
            watchers_[place_index(*check.place)].push_back(monitor);
        else
            bus_watchers_[check.bus_address].push_back(monitor);
        if (check.follows) watchers_[place_index(*check.follows)].push_back(monitor);
    }
}

void LabRun::place_changed(size_t place) {
    const Cycles t = now();
    for (const size_t monitor : watchers_[place])
        monitors_[monitor].changed(t);
    // The printer's paper grows a byte at a time.
    if (kPlaces[place].name == "printer") {
        auto* printer = dynamic_cast<Printer*>(place_device(board(), kPlaces[place]));
        if (!printer) return;
        const std::string& paper = printer->paper();
        for (; printed_ < paper.size(); ++printed_)
            streams_[2].add(t, paper[printed_]);
        if (streams_[2].bytes.size() > lab_.output_limit) halt(StopReason::kOutputLimit);
    }
}

void LabRun::watch_devices() {
    for (const BoardPlace& place : kPlaces) {
        const size_t index = place_index(place);
        if (watchers_[index].empty() && place.name != "printer") continue;
        if (Device* device = place_device(board(), place))
            device->set_change_callback([this, index] { place_changed(index); });
    }
    if (options_.record_waveform) {
        recorder_ = std::make_unique<WaveformRecorder>(board(), [this] { return now(); });
        board().routing().set_register_write_observer(
            [this](uint16_t offset, uint8_t byte) { recorder_->register_write(offset, byte); });
    }
    if (recorder_ || !bus_watchers_.empty()) {
        board().routing().set_device_write_observer([this](uint32_t address, uint8_t byte) {
            if (recorder_) recorder_->bus_write(address, byte);
            const auto watched = bus_watchers_.find(address);
            if (watched == bus_watchers_.end()) return;
            bus_values_[address] = byte;
            for (const size_t monitor : watched->second)
                monitors_[monitor].changed(now());
        });
    }
    board().set_serial_transmit_observer([this](int line, uint8_t byte) {
        if (recorder_) recorder_->serial_byte(line, byte);
        streams_[line].add(now(), char(byte));
        if (streams_[line].bytes.size() > lab_.output_limit) halt(StopReason::kOutputLimit);
    });
    board_.cpu().undefined_out = [this](uint32_t address, bool trapped) {
        if (!undefined_) undefined_ = UndefinedInstruction{now(), address, trapped};
        // Stuck: the CPU can never get past it, and no time passes.
        if (!trapped) halt(StopReason::kUndefined);
    };
}

std::vector<Event> LabRun::schedule() const {
    const auto clip = [this](Cycles t) { return std::min(t, lab_.time_limit); };
    std::vector<Event> events;
    for (size_t i = 0; i < lab_.stimuli.size(); ++i)
        events.push_back({lab_.stimuli[i].at, Phase::kStimulus, i});
    for (size_t i = 0; i < monitors_.size(); ++i) {
        events.push_back({clip(monitors_[i].first_time()), Phase::kOpen, i});
        if (monitors_[i].check().when != When::kAt)
            events.push_back({clip(monitors_[i].last_time()), Phase::kClose, i});
        // Where the reaction time after a stimulus ends, an always check looks again.
        if (monitors_[i].check().settle != 0)
            for (const Stimulus& stimulus : lab_.stimuli)
                if (stimulus.at + monitors_[i].check().settle <= lab_.time_limit)
                    events.push_back({stimulus.at + monitors_[i].check().settle, Phase::kLook, i});
    }
    // Memory at a time (at the end when none is given).
    for (size_t i = 0; i < lab_.checks.size(); ++i)
        if (lab_.checks[i].kind == CheckKind::kMemory)
            events.push_back({clip(lab_.checks[i].at), Phase::kLook, monitors_.size() + i});
    std::ranges::stable_sort(events, [](const Event& a, const Event& b) {
        return a.at != b.at ? a.at < b.at : a.phase < b.phase;
    });
    return events;
}

void LabRun::stop(StopReason reason) {
    // The program handed the line its last byte and stopped: on the board
    // the line still sends it (the monitor takes over at SWI, the CPU
    // stands still in BGND), so a program that prints its answer and stops
    // is heard in full.
    if (reason != StopReason::kOutputLimit) board().finish_transmission();
    stopped_ = true;
    result_.stop.reason = reason;
    result_.stop.at = now();
    result_.stop.pc = board_.cpu().regs.pc;
    if (reason == StopReason::kLocation) result_.stop.location = stop_names_[result_.stop.pc];
    stop_registers_ = board_.cpu().regs;
}

void LabRun::halt(StopReason reason) {
    if (halt_reason_ != StopReason::kNone) return;
    halt_reason_ = reason;
    // The run loop sees the halt at its next step.
    sim().halt();
    board().clock().attend();
}

void LabRun::advance_to(Cycles t) {
    const uint64_t limit = lab_.step_limit();
    while (!stopped_ && now() < t) {
        if (result_.steps >= limit) {
            stop(StopReason::kStepLimit);
            break;
        }
        const Cycles slice = std::min(t - now(), kLongestSlice);
        const auto ran = sim().run_headless(limit - result_.steps, stop_opcodes_,
                                            uint32_t(board_clock() + slice));
        result_.steps += ran.steps;
        rebase();
        switch (ran.reason) {
        case Simulator::StopReason::kOpcode: {
            uint8_t opcode = 0;
            board().memory().peek_byte(board_.cpu().current_execution_address(), opcode);
            stop(opcode == kOpcodeSwi ? StopReason::kSwi : StopReason::kBgnd);
            break;
        }
        case Simulator::StopReason::kBreakpoint: stop(StopReason::kLocation); break;
        case Simulator::StopReason::kHalted: stop(halt_reason_); break;
        case Simulator::StopReason::kStepLimit: break; // the slice's end, or the limit (above)
        }
    }
}

void LabRun::apply(const Stimulus& stimulus) {
    for (Monitor& monitor : monitors_)
        monitor.stimulus(now());
    Device* device = stimulus.place ? place_device(board(), *stimulus.place) : nullptr;
    switch (stimulus.kind) {
    case StimulusKind::kSet:
        if (auto* port = dynamic_cast<PortDevice*>(device)) {
            if (stimulus.bit < 0)
                port->set_switches(stimulus.value);
            else
                port->set_switch(stimulus.bit, stimulus.value != 0);
            if (recorder_) recorder_->input(*stimulus.place, port->switches());
        }
        break;
    case StimulusKind::kPress:
        if (auto* keypad = dynamic_cast<Keyboard*>(device)) keypad->press_key(stimulus.value);
        break;
    case StimulusKind::kRelease:
        if (auto* keypad = dynamic_cast<Keyboard*>(device)) keypad->release_key();
        break;
    case StimulusKind::kSend:
        if (auto* console = dynamic_cast<SerialDevice*>(device)) console->type_text(stimulus.text);
        break;
    case StimulusKind::kAction:
        if (device) perform_action(*device, stimulus.action);
        break;
    case StimulusKind::kInterrupt:
        if (!stopped_) sim().request_interrupt(stimulus.interrupt);
        break;
    case StimulusKind::kReset:
        if (!stopped_) reset_cpu();
        break;
    }
}

void LabRun::finish() {
    if (!stopped_) {
        result_.stop.reason = StopReason::kNone;
        result_.stop.at = lab_.time_limit;
        result_.stop.pc = board_.cpu().regs.pc;
    }
    for (size_t i = 0; i < monitors_.size(); ++i) {
        monitors_[i].close(lab_.time_limit);
        decided_[monitor_check_[i]] = monitors_[i].result();
    }
    const CpuRegisters& registers = stopped_ ? stop_registers_ : board_.cpu().regs;
    for (size_t i = 0; i < lab_.checks.size(); ++i) {
        const Check& check = lab_.checks[i];
        switch (check.kind) {
        case CheckKind::kOutput:
        case CheckKind::kMemory: break; // decided while running
        case CheckKind::kSerial:
            decided_[i] = check_stream(check, *stream_of(*check.place), lab_.time_limit);
            break;
        case CheckKind::kStop:
            decided_[i] = check_stop(check, result_.stop, registers, symbols());
            break;
        case CheckKind::kCycles: decided_[i] = check_cycles(check, result_.stop); break;
        case CheckKind::kNoUndefined: decided_[i] = check_undefined(check, undefined_); break;
        }
        CheckResult& decided = *decided_[i];
        result_.checks.push_back(decided);
        if (decided.passed) result_.points += check.points;
    }
    if (recorder_) result_.waveform = recorder_->waveform();
}

SubmissionResult LabRun::run() {
    result_.max_points = lab_.max_points();
    if (result_.program.state == Program::State::kReady && start()) {
        plan_stops();
        build_monitors();
        watch_devices();
        const std::vector<Event> events = schedule();
        for (size_t next = 0; next < events.size();) {
            const Cycles t = events[next].at;
            advance_to(t);
            handling_ = true;
            event_time_ = t;
            for (; next < events.size() && events[next].at == t; ++next) {
                const Event& event = events[next];
                switch (event.phase) {
                case Phase::kStimulus: apply(lab_.stimuli[event.index]); break;
                case Phase::kOpen: monitors_[event.index].open(t); break;
                case Phase::kClose: monitors_[event.index].close(t); break;
                case Phase::kLook:
                    if (event.index < monitors_.size()) {
                        monitors_[event.index].changed(t);
                        break;
                    }
                    const size_t check = event.index - monitors_.size();
                    decided_[check] = check_memory(
                        lab_.checks[check],
                        [this](uint32_t address, uint8_t& byte) {
                            return board().memory().peek_byte(address, byte) == 0;
                        },
                        symbols(), t);
                    break;
                }
            }
            handling_ = false;
        }
        advance_to(lab_.time_limit);
        handling_ = true;
        event_time_ = lab_.time_limit;
        finish();
        return std::move(result_);
    }
    // Nothing ran: every check fails with the reason.
    const std::string why = result_.program.state == Program::State::kNotAssembled
                                ? "not run: the program does not assemble"
                                : "not run: " + result_.program.error;
    for (const Check& check : lab_.checks)
        result_.checks.push_back({&check, false, "", why, std::nullopt});
    return std::move(result_);
}

} // namespace

SubmissionResult run_lab(const Lab& lab, Program program, const RunOptions& options) {
    return LabRun(lab, std::move(program), options).run();
}

} // namespace torva::lab
