// ta12's command line: turns the program's arguments into the assembler's
// one-string command line, and the texts of --help and --version.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace torva {

struct Ta12Request {
    enum class Kind { kAssemble, kHelp, kVersion, kUsageError };
    Kind kind = Kind::kUsageError;
    std::string line;  // kAssemble: the assembler's command line
    std::string error; // kUsageError: what is wrong ("" for the bare usage)
    // kAssemble: the -I directories in the order given.
    std::vector<std::string> include_dirs;
};

// One option of ta12: its letter and/or long name, the name of the value it
// takes, its help text and what it does to the request. A new option is one
// more row of the table in the source file.
struct Ta12Option {
    char letter;            // '\0': a long option only
    std::string_view name;  // the long name without "--"; "" for none
    std::string_view value; // the value's name in the help ("DIR"); "" for none
    std::string_view help;  // lines of help, '\n' between them
    // kHelp or kVersion answer at once; kAssemble options apply().
    Ta12Request::Kind answer;
    // Applies the option with its value; returns what is wrong, or "".
    std::string (*apply)(Ta12Request& request, std::string_view value);
};

std::span<const Ta12Option> ta12_options();

// The conventions of command lines: single-letter options may be combined
// ("-wS"), a value follows its letter directly or as the next argument
// ("-Idir", "-I dir"), long options take "--name=value" or "--name value",
// and "--" ends the options, so that a source named "-x.asm" can be given.
// --help and --version before "--" win over everything else. Every option
// goes to the assembler in order, paths in double quotes so that blanks
// survive.
Ta12Request ta12_request(std::span<const std::string_view> args);

std::string ta12_usage();
std::string ta12_help();
std::string ta12_version();

} // namespace torva
