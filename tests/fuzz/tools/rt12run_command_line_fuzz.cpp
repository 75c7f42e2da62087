// Fuzz target: any arguments to rt12run. Parsing ends in one of its four
// answers, and what it accepts stays within the options' limits.
#include "fuzz/tools/arguments.h"
#include "tools/rt12run_options.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto args = torva::test::fuzz_arguments(data, size);
    torva::Rt12runOptions options;
    std::string error;
    switch (torva::parse_rt12run_arguments(args, options, error)) {
    case torva::Rt12runRequest::kRun:
        // Only the monitor runs without a load file.
        if ((options.file.empty() && !options.monitor) || !error.empty()) std::abort();
        for (const uint32_t address : options.breaks)
            if (address == 0xFFFFFFFF) std::abort();
        for (const torva::MemoryDump& dump : options.dumps)
            if (dump.length > 0x100000) std::abort();
        break;
    case torva::Rt12runRequest::kUsageError:
        if (error.empty()) std::abort();
        break;
    case torva::Rt12runRequest::kHelp:
    case torva::Rt12runRequest::kVersion: break;
    }
    return 0;
}
