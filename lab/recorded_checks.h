// Checks decided from what a run recorded rather than while it runs: the
// text a serial line or the printer sent, memory at a time, how and where
// the program stopped, its cycles, undefined instructions.
#pragma once

#include "cpu/registers.h"
#include "lab/lab.h"
#include "lab/result.h"
#include "lab/submission.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace torva::lab {

// The bytes a serial line or the printer sent, each with its time.
struct Stream {
    std::vector<Cycles> times;
    std::string bytes;
    void add(Cycles at, char byte) {
        times.push_back(at);
        bytes.push_back(byte);
    }
};

// A location's address in the program; none (with why) for a label the
// program lacks.
std::optional<uint32_t> resolve(const Location& location, const std::optional<Symbols>& symbols,
                                std::string& why);

// Text as a report shows it: in quotes, control characters escaped, long
// texts cut in the middle.
std::string shown_text(std::string_view text);

CheckResult check_stream(const Check& check, const Stream& stream, Cycles time_limit);

// Reads a byte of memory as a view does (no I/O side effects); false where nothing answers.
using MemoryReader = std::function<bool(uint32_t address, uint8_t& byte)>;
CheckResult check_memory(const Check& check, const MemoryReader& read,
                         const std::optional<Symbols>& symbols, Cycles at);

// The registers where the program stopped.
CheckResult check_stop(const Check& check, const StopInfo& stop, const CpuRegisters& registers,
                       const std::optional<Symbols>& symbols);
CheckResult check_cycles(const Check& check, const StopInfo& stop);

struct UndefinedInstruction {
    Cycles at;
    uint32_t address;
    bool trapped;
};
CheckResult check_undefined(const Check& check, const std::optional<UndefinedInstruction>& first);

} // namespace torva::lab
