// rt12check's command line, parsed with CLI11, and its --help and --version
// texts.
#pragma once

#include <string>
#include <vector>

namespace torva {

struct Rt12checkOptions {
    std::string lab;
    std::vector<std::string> submissions;
    unsigned jobs = 0; // 0: one per processor
    std::string junit;
    std::string json;
    std::string vcd_dir;
    bool quiet = false; // no progress line
};

enum class Rt12checkRequest { kRun, kHelp, kVersion, kUsageError };

// Fills options from the command line (argv[0] is the program). --help and
// --version anywhere win over everything else; on kUsageError, error says
// what is wrong.
Rt12checkRequest parse_rt12check_arguments(int argc, const char* const* argv,
                                           Rt12checkOptions& options, std::string& error);

std::string rt12check_usage();
std::string rt12check_help();
std::string rt12check_version();

} // namespace torva
