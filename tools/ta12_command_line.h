// ta12's command line: turns the program's arguments into the assembler's
// one-string command line, and the texts of --help and --version.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace torva {

struct Ta12Request {
    enum class Kind { kAssemble, kHelp, kVersion, kUsageError };
    Kind kind = Kind::kUsageError;
    std::string line;  // kAssemble: the assembler's command line
    std::string error; // kUsageError: what is wrong ("" for the bare usage)
};

// --help and --version anywhere win over everything else; otherwise every
// option goes to the assembler in order (--compat as its -c), -I directories
// and the file name in double quotes so that blanks survive.
Ta12Request ta12_request(std::span<const std::string_view> args);

std::string ta12_usage();
std::string ta12_help();
std::string ta12_version();

} // namespace torva
