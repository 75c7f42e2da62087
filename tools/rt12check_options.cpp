// The options of rt12check.
#include "tools/rt12check_options.h"

#include "torva/version.h"

#include <CLI/CLI.hpp>

namespace torva {
namespace {

constexpr const char* kDescription =
    "Checks lab programs: runs each submission on a simulated RT12 board of its own,\n"
    "applies the lab's stimuli over simulated time and scores its checks. A\n"
    "submission is a source (.asm, .s12, assembled with the board's include\n"
    "directory), a load file (.s19), or a folder holding one. Without a\n"
    "submission the lab's own program is checked.\n";

constexpr const char* kFooter =
    "\nExit status 0 when every check of every submission passed, 1 when some\n"
    "failed (a submission that does not assemble scores 0), 2 when the lab file\n"
    "or a submission cannot be read or the arguments are wrong.\n";

} // namespace

std::string rt12check_version() {
    return std::string("rt12check (TORVA 6 for RT12) ") + kProgramVersion + "\n";
}

Rt12checkRequest parse_rt12check_arguments(int argc, const char* const* argv,
                                           Rt12checkOptions& options, std::string& text) {
    CLI::App app(kDescription, "rt12check");
    app.footer(kFooter);
    app.set_version_flag(
        "--version", [] { return rt12check_version(); }, "Show the version and exit");
    app.set_help_flag("-h,--help", "Show this text and exit");
    app.add_option("LAB.toml", options.lab, "The lab file")->required();
    app.add_option("SUBMISSION", options.submissions,
                   "Sources, load files or folders, one per student");
    app.add_option("-j,--jobs", options.jobs,
                   "Run N submissions at a time (default: one per processor)")
        ->type_name("N")
        ->check(CLI::PositiveNumber);
    app.add_option("--junit", options.junit, "Write the results as JUnit XML")->type_name("FILE");
    app.add_option("--json", options.json, "Write the results as JSON")->type_name("FILE");
    app.add_option("--vcd-dir", options.vcd_dir,
                   "Write a waveform (VCD) of each failing submission's run into DIR")
        ->type_name("DIR");
    app.add_flag("-q,--quiet", options.quiet, "Show no progress line on the terminal");
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        text = app.help();
        return Rt12checkRequest::kHelp;
    } catch (const CLI::CallForVersion&) {
        text = rt12check_version();
        return Rt12checkRequest::kVersion;
    } catch (const CLI::ParseError& error) {
        text = error.what();
        return Rt12checkRequest::kUsageError;
    }
    return Rt12checkRequest::kRun;
}

} // namespace torva
