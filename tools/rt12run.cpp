// rt12run: the simulator without windows. Loads an S-record file onto the
// simulated RT12, runs it until a stop condition or a step limit, and prints
// what was asked for. Exit status 0 when a stop condition was met, 2 when the
// step limit ran out, 1 on a load error or bad arguments.
#include "io/board_option.h"
#include "io/descriptor_file.h"
#include "iosim/devices/port_device.h"
#include "iosim/devices/serial_device.h"
#include "sim/simulator.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace torva;

constexpr uint64_t kDefaultMaxSteps = 10'000'000;
constexpr uint8_t kOpcodeSwi = 0x3F;
constexpr uint8_t kOpcodeBgnd = 0x00;

void usage() {
    std::fputs("usage: rt12run [--max-steps N] [--stop-on swi|bgnd|none] [--break ADDR]... "
               "[--vector] [--target FILE.hc12sim] [--monitor] [--sci0 stdio] [--io-log] "
               "[--switches ADDR=VALUE]... [--dump-regs] [--dump-mem START:LENGTH]... "
               "[--trace] FILE.s19\n",
               stderr);
}

// A number as 0x1F, $1F or decimal; none for anything else or a value
// beyond `limit`.
std::optional<uint64_t> parse_number(std::string_view text, uint64_t limit) {
    int base = 10;
    if (text.starts_with("0x") || text.starts_with("0X")) {
        base = 16;
        text.remove_prefix(2);
    } else if (text.starts_with("$")) {
        base = 16;
        text.remove_prefix(1);
    }
    if (text.empty()) return std::nullopt;
    uint64_t value = 0;
    for (const char c : text) {
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            return std::nullopt;
        if (value > (limit - uint64_t(digit)) / uint64_t(base)) return std::nullopt;
        value = value * uint64_t(base) + uint64_t(digit);
    }
    return value;
}

struct MemoryDump {
    uint32_t start;
    uint32_t length;
};
struct SwitchPreset {
    uint32_t address;
    uint8_t value;
};

struct Options {
    uint64_t max_steps = kDefaultMaxSteps;
    std::vector<uint8_t> stop_opcodes{kOpcodeSwi};
    std::vector<uint32_t> breaks;
    bool vector = false;
    std::string target;
    bool monitor = false;
    bool sci0_stdio = false;
    bool io_log = false;
    std::vector<SwitchPreset> switches;
    bool dump_regs = false;
    std::vector<MemoryDump> dumps;
    bool trace = false;
    std::string file;
};

bool fail(const std::string& text) {
    std::fprintf(stderr, "rt12run: %s\n", text.c_str());
    return false;
}

bool parse_arguments(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        // Options that take a value find it in the next argument.
        const auto value = [&]() -> std::optional<std::string_view> {
            if (i + 1 >= argc) return std::nullopt;
            return std::string_view(argv[++i]);
        };
        if (arg == "--max-steps") {
            const auto text = value();
            const auto n = text ? parse_number(*text, UINT64_MAX) : std::nullopt;
            if (!n) return fail("--max-steps needs a number");
            options.max_steps = *n;
        } else if (arg == "--stop-on") {
            const auto text = value();
            if (text == "swi")
                options.stop_opcodes = {kOpcodeSwi};
            else if (text == "bgnd")
                options.stop_opcodes = {kOpcodeBgnd};
            else if (text == "none")
                options.stop_opcodes.clear();
            else
                return fail("--stop-on takes swi, bgnd or none");
        } else if (arg == "--break") {
            const auto text = value();
            const auto address = text ? parse_number(*text, 0xFFFFFFFE) : std::nullopt;
            if (!address) return fail("--break needs an address");
            options.breaks.push_back(uint32_t(*address));
        } else if (arg == "--vector") {
            options.vector = true;
        } else if (arg == "--target") {
            const auto text = value();
            if (!text || text->empty()) return fail("--target needs a descriptor file");
            options.target = *text;
        } else if (arg == "--monitor") {
            options.monitor = true;
        } else if (arg == "--sci0") {
            if (value() != "stdio") return fail("--sci0 takes stdio");
            options.sci0_stdio = true;
        } else if (arg == "--io-log") {
            options.io_log = true;
        } else if (arg == "--switches") {
            const auto text = value();
            const size_t equals = text ? text->find('=') : std::string_view::npos;
            const auto address = equals != std::string_view::npos
                                     ? parse_number(text->substr(0, equals), 0xFFFFFFFF)
                                     : std::nullopt;
            const auto byte = equals != std::string_view::npos
                                  ? parse_number(text->substr(equals + 1), 0xFF)
                                  : std::nullopt;
            if (!address || !byte) return fail("--switches takes ADDR=VALUE (VALUE up to $FF)");
            options.switches.push_back({uint32_t(*address), uint8_t(*byte)});
        } else if (arg == "--dump-regs") {
            options.dump_regs = true;
        } else if (arg == "--dump-mem") {
            const auto text = value();
            const size_t colon = text ? text->find(':') : std::string_view::npos;
            const auto start = colon != std::string_view::npos
                                   ? parse_number(text->substr(0, colon), 0xFFFFFFFF)
                                   : std::nullopt;
            const auto length = colon != std::string_view::npos
                                    ? parse_number(text->substr(colon + 1), 0x100000)
                                    : std::nullopt;
            if (!start || !length) return fail("--dump-mem takes START:LENGTH");
            options.dumps.push_back({uint32_t(*start), uint32_t(*length)});
        } else if (arg == "--trace") {
            options.trace = true;
        } else if (arg.starts_with("-") && arg.size() > 1) {
            return fail("unknown option " + std::string(arg));
        } else if (options.file.empty()) {
            options.file = arg;
        } else {
            return fail("only one load file");
        }
    }
    if (options.file.empty()) return fail("no load file");
    return true;
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

std::filesystem::path program_directory(const char* argv0) {
    std::error_code ec;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (!ec) return self.parent_path();
    return std::filesystem::absolute(argv0, ec).parent_path();
}

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
    Options options;
    if (!parse_arguments(argc, argv, options)) {
        usage();
        return 1;
    }
    // The loader does not report a file it cannot open; a runner must.
    if (std::FILE* probe = std::fopen(options.file.c_str(), "rb"))
        std::fclose(probe);
    else {
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
