// Fuzz target: any arguments to rt12check. Parsing ends in one of its four
// answers; what it accepts names a lab file and a job count in range.
#include "fuzz/tools/arguments.h"
#include "tools/rt12check_options.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto args = torva::test::fuzz_arguments(data, size);
    std::vector<std::string> owned{"rt12check"};
    owned.insert(owned.end(), args.begin(), args.end());
    std::vector<const char*> argv;
    for (const std::string& arg : owned)
        argv.push_back(arg.c_str());
    torva::Rt12checkOptions options;
    std::string error;
    switch (torva::parse_rt12check_arguments(int(argv.size()), argv.data(), options, error)) {
    case torva::Rt12checkRequest::kRun:
        if (options.lab.empty() || options.jobs > 1024 || !error.empty()) std::abort();
        break;
    case torva::Rt12checkRequest::kUsageError:
        if (error.empty()) std::abort();
        break;
    case torva::Rt12checkRequest::kHelp:
    case torva::Rt12checkRequest::kVersion: break;
    }
    return 0;
}
