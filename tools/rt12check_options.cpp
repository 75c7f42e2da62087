// The options of rt12check, parsed with CLI11; the texts in the manner of
// the other programs.
#include "tools/rt12check_options.h"

#include "torva/version.h"

#include <CLI/CLI.hpp>

#include <string_view>

namespace torva {

std::string rt12check_usage() {
    return "usage: rt12check [-j N] [--junit FILE] [--json FILE] [--vcd-dir DIR] [--quiet] "
           "LAB.toml [SUBMISSION]...\n";
}

std::string rt12check_help() {
    return rt12check_usage() + R"(
Checks lab programs: runs each submission on a simulated RT12 board of its
own, applies the lab's stimuli over simulated time and scores its checks,
then prints each submission's points and failed checks. A submission is a
source (.asm, .s12; assembled with the board's include directory), a load
file (.s19), or a folder holding one. Without a submission the program the
lab names is checked. Exit status 0 when every check of every submission
passed, 1 when some failed (a submission that does not assemble scores 0),
2 when the lab file or a submission cannot be read or the arguments are
wrong.

Options:
  -j N, --jobs N         check N submissions at a time (default: one per
                         processor)
  --junit FILE           write the results as JUnit XML
  --json FILE            write the results as JSON
  --vcd-dir DIR          write the board's outputs over the run of each
                         failing submission into DIR as a Value Change Dump
  --quiet                show no progress line on the terminal
  --help                 show this text and exit
  --version              show the version and exit
)";
}

std::string rt12check_version() {
    return std::string("rt12check (TORVA 6 for RT12) ") + kProgramVersion + "\n";
}

Rt12checkRequest parse_rt12check_arguments(int argc, const char* const* argv,
                                           Rt12checkOptions& options, std::string& error) {
    // --help and --version win wherever they stand, over any fault.
    for (int i = 1; i < argc; ++i) {
        if (std::string_view(argv[i]) == "--help") return Rt12checkRequest::kHelp;
        if (std::string_view(argv[i]) == "--version") return Rt12checkRequest::kVersion;
    }
    CLI::App app("rt12check");
    app.set_help_flag();
    app.allow_extras();
    app.add_option("lab", options.lab);
    app.add_option("submissions", options.submissions);
    app.add_option("-j,--jobs", options.jobs)->type_name("N")->check(CLI::Range(1u, 1024u));
    app.add_option("--junit", options.junit)->type_name("FILE");
    app.add_option("--json", options.json)->type_name("FILE");
    app.add_option("--vcd-dir", options.vcd_dir)->type_name("DIR");
    app.add_flag("-q,--quiet", options.quiet);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& fault) {
        error = fault.what();
        return Rt12checkRequest::kUsageError;
    }
    for (const std::string& extra : app.remaining()) {
        error = extra.starts_with('-') ? "unknown option " + extra : "unexpected " + extra;
        return Rt12checkRequest::kUsageError;
    }
    if (options.lab.empty()) {
        error = "no lab file";
        return Rt12checkRequest::kUsageError;
    }
    return Rt12checkRequest::kRun;
}

} // namespace torva
