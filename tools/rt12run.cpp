// rt12run: the simulator without windows. Loads an S-record file onto the
// simulated RT12, runs it until a stop condition or a step limit, and prints
// what was asked for. Exit status 0 when a stop condition was met, 2 when the
// step limit ran out, 1 on a load error or bad arguments.
#include "io/board_option.h"
#include "io/descriptor_file.h"
#include "io/text_lines.h"
#include "iosim/devices/port_device.h"
#include "iosim/devices/serial_device.h"
#include "sim/simulator.h"
#include "tools/program_directory.h"
#include "tools/rt12run_options.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace torva;

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

// Connects standard input and output to serial interface 0, through the
// device already there or a new one on its row.
bool connect_sci0(Board& board) {
    DeviceSetup& setup = board.setup();
    int32_t handle = setup.serial_handle(0);
    if (handle < 0) {
        const int row = setup.board() == BoardKind::kBare ? bare_row::kSerial0 : bus_row::kSerial0;
        const int slot = setup.connect_row(row);
        if (slot < 0) return fail("cannot connect a serial device to serial interface 0");
        handle = setup.slots()[size_t(slot)].handle;
    }
    auto* console = board.iosim().device_as<SerialDevice>(handle);
    if (!console) return fail("serial interface 0 has no serial device");
    console->attach_input(&std::cin);
    console->attach_output(&std::cout);
    return true;
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
    // The loader does not report a file it cannot open; a runner must. Only
    // a regular file can be a load file (a FIFO would block, /dev/zero never end).
    if (std::ifstream probe; !open_regular_file(options.file, probe)) {
        fail("can't open '" + options.file + "'");
        return 1;
    }

    Board board;
    Cpu cpu(board.memory());
    StderrUi ui;
    Simulator sim(
        board, cpu, ui, program_directory(argc > 0 ? argv[0] : "rt12run"),
        [](std::string_view text) { std::fprintf(stderr, "%.*s", int(text.size()), text.data()); });
    sim.window_created();
    if (!options.target.empty() && !read_descriptor(board.setup(), options.target)) return 1;
    board.setup().commit();
    if (options.monitor)
        board.setup().set_option_word(board.setup().option_word() | board_option::kLoadMonitor);
    if (options.sci0_stdio && !connect_sci0(board)) return 1;
    for (const SwitchPreset& preset : options.switches)
        if (!preset_switches(board, preset)) return 1;

    sim.load_file().load_file_path = options.file;
    if (sim.load_chain() != kLoadOk) return 1;
    if (options.vector) sim.reset_cpu();
    for (const uint32_t address : options.breaks)
        sim.breakpoints().add(address, BreakState::kEnabled);

    if (options.io_log)
        board.routing().set_device_write_observer([&sim](uint32_t address, uint8_t byte) {
            std::printf("IO %u %04X %02X\n", unsigned(sim.cycle_total()), unsigned(address), byte);
        });
    if (options.trace)
        sim.set_instruction_observer([](uint32_t address, std::string_view text) {
            std::printf(address > 0xFFFF ? "%06X  %.*s\n" : "%04X  %.*s\n", unsigned(address),
                        int(text.size()), text.data());
        });

    const auto result = sim.run_headless(options.max_steps, options.stop_opcodes);
    std::fflush(stdout);
    std::cout.flush();

    if (options.dump_regs) {
        const CpuRegisters& r = cpu.regs;
        std::printf("PC=%04X SP=%04X X=%04X Y=%04X A=%02X B=%02X CCR=%02X\n", r.pc, r.sp, r.x, r.y,
                    r.a, r.b, r.ccr);
        std::printf("cycles=%u steps=%u\n", unsigned(sim.cycle_total()), unsigned(result.steps));
    }
    for (const MemoryDump& dump : options.dumps)
        dump_memory(board, dump);
    std::fflush(stdout);

    if (result.reason == Simulator::StopReason::kStepLimit) {
        std::fprintf(stderr, "rt12run: step limit of %llu steps reached\n",
                     static_cast<unsigned long long>(options.max_steps));
        return 2;
    }
    return 0;
}
