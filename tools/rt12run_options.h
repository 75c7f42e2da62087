// rt12run's command line: the options, their parsing, and the texts of
// --help and --version.
#pragma once

#include "cpu/cycle_model.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace torva {

inline constexpr uint64_t kDefaultMaxSteps = 10'000'000;
// --max-steps 0 stands for no limit.
inline constexpr uint64_t kNoStepLimit = UINT64_MAX;
// --realtime without a value: the board's bus clock.
inline constexpr uint32_t kDefaultRealTimeHz = 8'000'000;
// One past the last address: addresses are unsigned 32-bit values.
inline constexpr uint64_t kAddressSpaceEnd = uint64_t(1) << 32;
inline constexpr uint8_t kOpcodeSwi = 0x3F;
inline constexpr uint8_t kOpcodeBgnd = 0x00;

struct MemoryDump {
    uint32_t start;
    uint32_t length;
    // A label of the debug map standing for start, resolved after loading.
    std::string label = {};
};
struct SwitchPreset {
    uint32_t address;
    uint8_t value;
};

struct Rt12runOptions {
    uint64_t max_steps = kDefaultMaxSteps;
    std::vector<uint8_t> stop_opcodes{kOpcodeSwi};
    std::vector<uint32_t> breaks;
    // --break LABEL: names of the debug map, resolved after loading.
    std::vector<std::string> break_labels;
    bool vector = false;
    std::string target;
    bool monitor = false;
    // Where serial interface 0 is joined: nowhere, standard input and
    // output, or a pseudo-terminal made for the run.
    enum class Sci0 { kNone, kStdio, kPty };
    Sci0 sci0 = Sci0::kNone;
    // Bus clock in Hz the run is held to; 0 runs as fast as the host can.
    uint32_t realtime_hz = 0;
    CycleModel cycles = CycleModel::Classic;
    bool io_log = false;
    std::vector<SwitchPreset> switches;
    bool dump_regs = false;
    std::vector<MemoryDump> dumps;
    bool trace = false;
    // Where the board's outputs over the run go as a Value Change Dump; "" for nowhere.
    std::string vcd;
    std::string file;
};

enum class Rt12runRequest { kRun, kHelp, kVersion, kUsageError };

// Fills options from the arguments (the program name left out). --help and
// --version anywhere win over everything else; on kUsageError, error says
// what is wrong.
Rt12runRequest parse_rt12run_arguments(std::span<const std::string_view> args,
                                       Rt12runOptions& options, std::string& error);

// Whether the text may name a label: a letter or '_' first, then letters,
// digits, '_', '.' or '$'.
bool names_a_label(std::string_view text);

// A number as 0x1F, $1F or decimal; none for anything else or a value
// beyond limit.
std::optional<uint64_t> parse_number(std::string_view text, uint64_t limit);

std::string rt12run_usage();
std::string rt12run_help();
std::string rt12run_version();

} // namespace torva
