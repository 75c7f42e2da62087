// rt12run: the simulator without windows. Loads an S-record file onto the
// simulated RT12 (or only starts the board's monitor), runs it until a stop
// condition or a step limit, and prints what was asked for. Exit status 0
// when a stop condition was met, 2 when the step limit ran out, 1 on a load
// error or bad arguments.
#include "io/board_option.h"
#include "io/descriptor_file.h"
#include "io/serial_console.h"
#include "iosim/devices/port_device.h"
#include "iosim/devices/serial_device.h"
#include "lab/waveform_recorder.h"
#include "records/text_lines.h"
#include "sim/debug_map.h"
#include "sim/simulator.h"
#include "tools/fd_input.h"
#include "tools/program_directory.h"
#include "tools/pty_bridge.h"
#include "tools/real_time_pacer.h"
#include "tools/rt12run_options.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <unistd.h>
#include <vector>

// --realtime's default is the bus clock the simulator window runs at.
static_assert(torva::kDefaultRealTimeHz == torva::Simulator::kDefaultBusClock);

namespace {

using namespace torva;

// The monitor's routine table entry for getchar: a JMP to the routine.
constexpr uint16_t kMonitorGetchar = 0xFE03;
constexpr uint8_t kOpcodeJmp = 0x06;

bool fail(const std::string& text) {
    std::fprintf(stderr, "rt12run: %s\n", text.c_str());
    return false;
}

// Boxes become lines on standard error.
class StderrUi final : public SimulatorUi {
public:
    void show_message(std::string_view, std::string_view text) override {
        // A box's line breaks become blanks: one message, one line.
        std::string line;
        for (const char c : text)
            if (c == '\n')
                line += ' ';
            else if (c != '\r')
                line += c;
        std::fprintf(stderr, "rt12run: %s\n", line.c_str());
    }
};

// The serial console of serial interface 0: the device already there or a
// new one on its row. Gives the device, or null.
SerialDevice* connect_sci0(Board& board) {
    SerialDevice* console = connect_serial_console(board, 0);
    if (!console) fail("cannot connect a serial console to serial interface 0");
    return console;
}

// Where the monitor's getchar routine starts, read from its routine table;
// none when no monitor is there.
std::optional<uint16_t> monitor_getchar(MemoryMap& memory) {
    uint8_t jmp = 0, high = 0, low = 0;
    if (memory.mem_read_byte(kMonitorGetchar, jmp) != 0 || jmp != kOpcodeJmp ||
        memory.mem_read_byte(kMonitorGetchar + 1, high) != 0 ||
        memory.mem_read_byte(kMonitorGetchar + 2, low) != 0)
        return std::nullopt;
    return uint16_t(high << 8 | low);
}

// The signal that asked the run to end (SIGINT, SIGTERM), 0 while none
// did: the one thing the signal handler touches.
std::atomic<int> g_stop_signal{0};
static_assert(std::atomic<int>::is_always_lock_free);

void note_stop_signal(int signal) {
    g_stop_signal = signal;
}

// SIGINT and SIGTERM end the run after the slice it is in, so that what
// was asked for is still printed; a second one ends the program at once.
void catch_stop_signals() {
    struct sigaction action {};
    action.sa_handler = note_stop_signal;
    action.sa_flags = SA_RESETHAND;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

// Runs to a stop condition. In a monitor session on standard input the
// session is over when the monitor asks for a character that can no longer
// come: it enters getchar after the input has ended and every character of
// it was taken. That ends the run as a stop condition does. The run goes in
// slices of cycles: in between, a stop signal is looked at, the
// pseudo-terminal's bytes move and the pacer (for a paced run) sleeps.
Simulator::RunResult run(Simulator& sim, const Rt12runOptions& options, SerialDevice* console,
                         PtyBridge* pty) {
    const bool stdio = options.sci0 == Rt12runOptions::Sci0::kStdio;
    const auto found =
        options.monitor && stdio && console ? monitor_getchar(sim.board().memory()) : std::nullopt;
    const uint16_t getchar_entry = found.value_or(0);
    // The user's own break there wins.
    const bool watch =
        found && std::ranges::find(options.breaks, getchar_entry) == options.breaks.end();
    if (watch) sim.breakpoints().add(getchar_entry, BreakState::kEnabled);

    RealTimePacer pacer(options.realtime_hz);
    uint64_t steps = 0;
    for (;;) {
        if (g_stop_signal != 0) return {Simulator::StopReason::kHalted, steps};
        if (pty) pty->exchange(*console);
        const uint32_t due = pacer.cycles_due();
        if (due == 0 || (pty && pty->output_blocked())) {
            const int sleep = pty && pty->output_blocked() ? 10 : pacer.sleep_ms();
            if (pty)
                pty->wait(*console, sleep);
            else
                std::this_thread::sleep_for(std::chrono::milliseconds(sleep));
            continue;
        }
        const uint32_t before = sim.cycle_total();
        auto result = sim.run_headless(options.max_steps - steps, options.stop_opcodes,
                                       sim.cycle_total() + due);
        pacer.ran(sim.cycle_total() - before);
        steps += result.steps;
        result.steps = steps;
        // The end of a slice, not of the run.
        if (result.reason == Simulator::StopReason::kStepLimit && steps != options.max_steps)
            continue;
        if (result.reason != Simulator::StopReason::kBreakpoint || !watch ||
            sim.cpu().current_execution_address() != getchar_entry)
            return result;
        const bool receiver_full =
            (sim.board().modules().serial[0].status1() & SerialInterface::kReceiveFull) != 0;
        if (console->input_ended() && !receiver_full) return result;
        if (steps == options.max_steps) return {Simulator::StopReason::kStepLimit, steps};
        sim.step(false); // past the watch, into getchar
        ++steps;
    }
}

bool preset_switches(Board& board, const SwitchPreset& preset) {
    auto* port = dynamic_cast<PortDevice*>(board.device_at(preset.address));
    if (!port || !port->has_inputs()) {
        char text[64];
        std::snprintf(text, sizeof text, "no input device at $%X", unsigned(preset.address));
        return fail(text);
    }
    port->set_switches(preset.value);
    return true;
}

void dump_memory(Board& board, const MemoryDump& dump) {
    for (uint32_t offset = 0; offset < dump.length; offset += 16) {
        const uint32_t row = dump.start + offset;
        std::printf("%04X:", unsigned(row));
        for (uint32_t i = 0; i < 16 && offset + i < dump.length; ++i) {
            uint8_t byte = 0;
            if (board.memory().mem_read_byte(row + i, byte) == 0)
                std::printf(" %02X", byte);
            else
                std::fputs(" XX", stdout); // nothing answers there
        }
        std::fputc('\n', stdout);
    }
}

// The labels of the command line, through the load file's debug map.
bool resolve_labels(const DebugMap* map, const std::string& file, Rt12runOptions& options) {
    auto value_of = [&](const std::string& label) -> std::optional<uint32_t> {
        if (!map) {
            fail("label " + label + " needs the debug map of '" + file +
                 "' beside it (assemble with ta12 -g)");
            return std::nullopt;
        }
        const DebugMapSymbol* symbol = map->symbol(label);
        if (!symbol) fail("no label " + label + " in the debug map");
        return symbol ? std::optional<uint32_t>(symbol->value) : std::nullopt;
    };
    for (const std::string& label : options.break_labels) {
        const auto value = value_of(label);
        if (!value) return false;
        options.breaks.push_back(*value);
    }
    for (MemoryDump& dump : options.dumps) {
        if (dump.label.empty()) continue;
        const auto value = value_of(dump.label);
        if (!value) return false;
        if (uint64_t(*value) + dump.length > kAddressSpaceEnd)
            return fail("--dump-mem range runs past the end of the address space");
        dump.start = *value;
    }
    return true;
}

// "name.asm:14" for the source line at the address, or nothing.
std::optional<std::string> source_line_at(const DebugMap* map, uint32_t address) {
    if (!map) return std::nullopt;
    const SourcePlace place = map->place_of(address);
    if (!place.valid()) return std::nullopt;
    return map->files[size_t(place.file)] + ":" + std::to_string(place.line);
}

bool write_waveform(const lab::Waveform& waveform, const Rt12runOptions& options) {
    std::ofstream out(options.vcd, std::ios::binary);
    if (out) waveform.write_vcd(out, "rt12run " + options.file);
    out.close();
    if (!out) return fail("can't write '" + options.vcd + "'");
    return true;
}

} // namespace

int main(int argc, char** argv) {
    Rt12runOptions options;
    std::string error;
    const std::vector<std::string_view> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    switch (parse_rt12run_arguments(args, options, error)) {
    case Rt12runRequest::kHelp: std::fputs(rt12run_help().c_str(), stdout); return 0;
    case Rt12runRequest::kVersion: std::fputs(rt12run_version().c_str(), stdout); return 0;
    case Rt12runRequest::kUsageError:
        fail(error);
        std::fputs(rt12run_usage().c_str(), stderr);
        return 1;
    case Rt12runRequest::kRun: break;
    }
    catch_stop_signals();
    // The loader does not report a file it cannot open; a runner must. Only
    // a regular file can be a load file (a FIFO would block, /dev/zero never end).
    // Without a load file the monitor image is all there is to run.
    const auto program_dir = program_directory(argc > 0 ? argv[0] : "rt12run");
    const std::string must_open =
        !options.file.empty()
            ? options.file
            : (program_dir / "../config/kiv12" / Simulator::kMonitorImage).string();
    if (std::ifstream probe; !open_regular_file(must_open, probe)) {
        fail("can't open '" + must_open + "'");
        return 1;
    }

    Board board;
    Cpu cpu(board.memory());
    StderrUi ui;
    Simulator sim(board, cpu, ui, program_dir, [](std::string_view text) {
        std::fprintf(stderr, "%.*s", int(text.size()), text.data());
    });
    sim.window_created();
    sim.set_cycle_model(options.cycles);
    if (!options.target.empty() && !read_descriptor(board.setup(), options.target)) return 1;
    board.setup().commit();
    if (options.monitor)
        board.setup().set_option_word(board.setup().option_word() | board_option::kLoadMonitor);
    SerialDevice* console = nullptr;
    // Standard input is looked at without waiting: a silent one does not
    // hold the run, which ends at its step limit or stop condition.
    FdInput standard_input(STDIN_FILENO);
    if (options.sci0 == Rt12runOptions::Sci0::kStdio) {
        console = connect_sci0(board);
        if (!console) return 1;
        console->attach_input(&standard_input);
        console->attach_output(&std::cout);
    }
    // The pseudo-terminal is made before anything runs, and its path told at
    // once, so that a script can open it while the board starts.
    std::optional<PtyBridge> pty;
    if (options.sci0 == Rt12runOptions::Sci0::kPty) {
        console = connect_sci0(board);
        if (!console) return 1;
        std::string why;
        if (!pty.emplace().open(why)) {
            fail(why);
            return 1;
        }
        std::fprintf(stderr, "SCI0: %s\n", pty->path().c_str());
        std::fflush(stderr);
    }
    for (const SwitchPreset& preset : options.switches)
        if (!preset_switches(board, preset)) return 1;

    sim.load_file().load_file_path = options.file;
    // Without a load file there is nothing to open: only the monitor loads.
    const int loaded = sim.load_chain();
    if (loaded == kLoadError || (loaded != kLoadOk && !options.file.empty())) return 1;
    // The monitor alone starts as the board does: from the reset vector.
    if (options.vector || options.file.empty()) sim.reset_cpu();
    const DebugMap* map = sim.load_file().debug_map.get();
    if (!resolve_labels(map, options.file, options)) return 1;
    for (const uint32_t address : options.breaks)
        sim.breakpoints().add(address, BreakState::kEnabled);

    // The waveform's time is the cycle total, carried past its 32 bits.
    std::optional<lab::WaveformRecorder> waveform;
    if (!options.vcd.empty()) {
        waveform.emplace(board, [&sim, last = uint32_t(0), laps = uint64_t(0)]() mutable {
            const uint32_t total = sim.cycle_total();
            if (total < last) laps += uint64_t(1) << 32;
            last = total;
            return laps | total;
        });
        waveform->attach();
    }
    if (options.io_log || waveform)
        board.routing().set_device_write_observer([&](uint32_t address, uint8_t byte) {
            if (options.io_log)
                std::printf("IO %u %04X %02X\n", unsigned(sim.cycle_total()), unsigned(address),
                            byte);
            if (waveform) waveform->bus_write(address, byte);
        });
    if (options.trace)
        sim.add_instruction_listener([](uint32_t address, std::string_view text) {
            std::printf(address > 0xFFFF ? "%06X  %.*s\n" : "%04X  %.*s\n", unsigned(address),
                        int(text.size()), text.data());
        });

    const auto result = run(sim, options, console, pty ? &*pty : nullptr);
    // What the program wrote last still leaves, and reaches the terminal.
    board.finish_transmission();
    if (pty) {
        pty->exchange(*console);
        pty->flush(1000);
    }
    std::fflush(stdout);
    std::cout.flush();

    if (options.dump_regs) {
        const CpuRegisters& r = cpu.regs;
        std::printf("PC=%04X SP=%04X X=%04X Y=%04X A=%02X B=%02X CCR=%02X\n", r.pc, r.sp, r.x, r.y,
                    r.a, r.b, r.ccr);
        std::printf("cycles=%u steps=%u\n", unsigned(sim.cycle_total()), unsigned(result.steps));
        if (const auto line = source_line_at(map, cpu.current_execution_address()))
            std::printf("source=%s\n", line->c_str());
    }
    for (const MemoryDump& dump : options.dumps)
        dump_memory(board, dump);
    std::fflush(stdout);
    if (waveform && !write_waveform(*waveform->waveform(), options)) return 1;

    if (const int signal = g_stop_signal; signal != 0) {
        std::fprintf(stderr, "rt12run: stopped by %s after %llu steps\n",
                     signal == SIGINT ? "SIGINT" : "SIGTERM",
                     static_cast<unsigned long long>(result.steps));
        return 128 + signal; // as the shell reports a process the signal ended
    }
    if (result.reason == Simulator::StopReason::kStepLimit) {
        std::fprintf(stderr, "rt12run: step limit of %llu steps reached\n",
                     static_cast<unsigned long long>(options.max_steps));
        return 2;
    }
    return 0;
}
