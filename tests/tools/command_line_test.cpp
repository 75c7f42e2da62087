// The command lines of ta12, rt12run and rt12check: arguments into
// requests, and the programs' --help and --version as processes.
#include "tool_fixture.h"
#include "tools/rt12check_options.h"
#include "tools/rt12run_options.h"
#include "tools/ta12_command_line.h"
#include "torva/version.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace torva {
namespace {

using Kind = Ta12Request::Kind;

// The words of a command line without quotes, split at blanks.
std::vector<std::string_view> words(std::string_view line) {
    std::vector<std::string_view> result;
    for (size_t at = 0; at < line.size();) {
        const size_t end = std::min(line.find(' ', at), line.size());
        result.push_back(line.substr(at, end - at));
        at = end + 1;
    }
    return result;
}

TEST(Ta12CommandLineTest, ArgumentsBecomeTheAssemblersLine) {
    struct Case {
        int line;
        std::vector<std::string_view> args;
        Kind kind;
        std::string text; // the assembler's line, or the error
    };
    const Case cases[] = {
        {__LINE__, {"-L", "-w", "my prog.asm"}, Kind::kAssemble, "-L -w \"my prog.asm\""},
        {__LINE__,
         {"-I", "inc dir", "-Iother", "x.asm"},
         Kind::kAssemble,
         "-I \"inc dir\" -I \"other\" \"x.asm\""},
        // Letters combine; the one that takes a value takes the rest.
        {__LINE__, {"-LSw", "x.asm"}, Kind::kAssemble, "-L -S -w \"x.asm\""},
        {__LINE__,
         {"-wIinc", "-SI", "d", "x.asm"},
         Kind::kAssemble,
         "-w -I \"inc\" -S -I \"d\" \"x.asm\""},
        // "--" ends the options: a source may begin with "-".
        {__LINE__, {"-w", "--", "-x.asm"}, Kind::kAssemble, "-w \"-x.asm\""},
        {__LINE__, {"--", "--help"}, Kind::kAssemble, "\"--help\""},
        {__LINE__, {"--", "a.asm", "-w"}, Kind::kUsageError, "only one source file"},
        {__LINE__, {"--compat", "-w", "x.asm"}, Kind::kAssemble, "-c -w \"x.asm\""},
        // --help and --version win wherever they stand, over any fault.
        {__LINE__, {"x.asm", "--bogus", "--help"}, Kind::kHelp, ""},
        {__LINE__, {"--version", "a", "b"}, Kind::kVersion, ""},
        {__LINE__, {"--help=1", "a.asm"}, Kind::kUsageError, "--help takes no value"},
        // A quote cannot be passed inside the assembler's quoted paths.
        {__LINE__, {"a\"b.asm"}, Kind::kUsageError, "unusable source file name"},
        {__LINE__, {"-I", "x\"y", "a.asm"}, Kind::kUsageError, "unusable directory name after -I"},
        {__LINE__, {"a.asm", "-I"}, Kind::kUsageError, "-I needs DIR"},
        {__LINE__, {"-wI"}, Kind::kUsageError, "-I needs DIR"},
        {__LINE__, {"-L x.asm", "a.asm"}, Kind::kUsageError, "unknown option - "},
        {__LINE__, {"-Lx", "a.asm"}, Kind::kUsageError, "unknown option -x"},
        {__LINE__, {"a.asm", "b.asm"}, Kind::kUsageError, "only one source file"},
        {__LINE__, {"--listing", "a.asm"}, Kind::kUsageError, "unknown option --listing"},
        {__LINE__, {""}, Kind::kUsageError, "empty file name"},
        {__LINE__, {"-L"}, Kind::kUsageError, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        const Ta12Request request = ta12_request(c.args);
        EXPECT_EQ(c.kind, request.kind);
        EXPECT_EQ(c.text, c.kind == Kind::kAssemble ? request.line : request.error);
    }
}

TEST(Rt12runCommandLineTest, NumbersAndFaults) {
    EXPECT_EQ(0x1Fu, parse_number("0x1F", 0xFF));
    EXPECT_EQ(0x1Fu, parse_number("$1f", 0xFF));
    EXPECT_EQ(31u, parse_number("31", 0xFF));
    EXPECT_EQ(UINT64_MAX, parse_number("18446744073709551615", UINT64_MAX));
    for (const char* bad : {"", "0x", "$", "1F", "$1G", "256", "-1"})
        EXPECT_FALSE(parse_number(bad, 0xFF)) << bad;
    EXPECT_FALSE(parse_number("18446744073709551616", UINT64_MAX));

    Rt12runOptions ignored;
    std::string error;
    EXPECT_EQ(Rt12runRequest::kHelp,
              parse_rt12run_arguments(words("--trace p.s19 --help"), ignored, error));
    EXPECT_EQ(Rt12runRequest::kVersion,
              parse_rt12run_arguments(words("--bogus --version"), ignored, error));
    EXPECT_EQ("", error);
    // The arguments of a usage error and its reason.
    const std::pair<const char*, const char*> faults[] = {
        {"p.s19 --max-steps", "--max-steps needs a number"},
        {"--max-steps ten p.s19", "--max-steps needs a number"},
        {"--stop-on rts p.s19", "--stop-on takes swi, bgnd or none"},
        {"--break 0x p.s19", "--break needs an address or a label"},
        {"--break 0xFFFFFFFF p.s19", "--break needs an address or a label"},
        {"--switches $800=$100 p.s19", "--switches takes ADDR=VALUE (VALUE up to $FF)"},
        {"--dump-mem 0x1000 p.s19", "--dump-mem takes START:LENGTH"},
        // It would wrap to address 0.
        {"--dump-mem 0xFFFFFFF0:0x11 p.s19",
         "--dump-mem range runs past the end of the address space"},
        {"--sci0 tty p.s19", "--sci0 takes stdio or pty"},
        {"--cycles hc12 p.s19", "--cycles takes classic or cpu12"},
        {"a.s19 b.s19", "only one load file"},
        {"--trace", "no load file"},
        {"-x p.s19", "unknown option -x"},
    };
    for (const auto& [args, reason] : faults) {
        SCOPED_TRACE(args);
        Rt12runOptions faulty;
        EXPECT_EQ(Rt12runRequest::kUsageError, parse_rt12run_arguments(words(args), faulty, error));
        EXPECT_EQ(reason, error);
    }

    Rt12runOptions options;
    ASSERT_EQ(Rt12runRequest::kRun,
              parse_rt12run_arguments(words("--stop-on none --break $1010 --switches 0x800=7 "
                                            "--cycles CPU12 --dump-mem $1000:16 --dump-mem "
                                            "0xFFFFFFF0:16 p.s19"),
                                      options, error));
    EXPECT_EQ(CycleModel::Cpu12, options.cycles);
    EXPECT_TRUE(options.stop_opcodes.empty());
    EXPECT_EQ(std::vector<uint32_t>{0x1010}, options.breaks);
    ASSERT_EQ(1u, options.switches.size());
    EXPECT_EQ(0x800u, options.switches[0].address);
    EXPECT_EQ(7, options.switches[0].value);
    ASSERT_EQ(2u, options.dumps.size());
    EXPECT_EQ(16u, options.dumps[0].length);
    EXPECT_EQ(0xFFFFFFF0u, options.dumps[1].start); // the last 16 addresses
    EXPECT_EQ("p.s19", options.file);

    // With --monitor the load file may be left out; SWI then brings programs
    // back to the monitor instead of stopping, unless --stop-on says so.
    const std::pair<const char*, std::vector<uint8_t>> monitor_cases[] = {
        {"--monitor", {}},
        {"--monitor --stop-on swi", {kOpcodeSwi}},
        {"--monitor p.s19", {kOpcodeSwi}},
    };
    for (const auto& [args, stops] : monitor_cases) {
        SCOPED_TRACE(args);
        Rt12runOptions monitor;
        ASSERT_EQ(Rt12runRequest::kRun, parse_rt12run_arguments(words(args), monitor, error));
        EXPECT_EQ(stops, monitor.stop_opcodes);
    }
}

struct ProgramConventionsTest : test::ToolTest {
    ProgramConventionsTest() : ToolTest({}) {}
};

// The options a usage line names: "-x" or "--name", in order.
std::vector<std::string> option_names(const std::string& usage) {
    auto letter = [](char c) { return std::isalpha(static_cast<unsigned char>(c)) != 0; };
    std::vector<std::string> names;
    for (size_t i = 0; i < usage.size(); ++i) {
        if (usage[i] != '-') continue;
        size_t end = i + 1;
        if (end < usage.size() && usage[end] == '-') ++end;
        if (end == usage.size() || !letter(usage[end])) continue;
        while (end < usage.size() &&
               (std::isalnum(static_cast<unsigned char>(usage[end])) || usage[end] == '-'))
            ++end;
        names.push_back(usage.substr(i, end - i));
        i = end - 1;
    }
    return names;
}

// Every option the usage line names has its own line in the help's list.
void expect_help_describes_usage(const std::string& help) {
    int found = 0;
    for (const std::string& name : option_names(help.substr(0, help.find('\n')))) {
        EXPECT_NE(std::string::npos, help.find("\n  " + name + " ")) << name;
        ++found;
    }
    EXPECT_GE(found, 4);
}

TEST_F(ProgramConventionsTest, HelpAndVersionOnStandardOutput) {
    // rt12check's status 1 means failed checks: its faults give 2.
    const std::pair<const char*, int> programs[] = {{"ta12", 1}, {"rt12run", 1}, {"rt12check", 2}};
    for (const auto& [name, fault_status] : programs) {
        SCOPED_TRACE(name);
        if (!std::filesystem::exists(test::tool_path(name))) GTEST_SKIP() << name << " not built";
        EXPECT_EQ(0, run(name, "--help"));
        EXPECT_EQ("", err);
        EXPECT_EQ(0u, out.find(std::string("usage: ") + name + " "));
        expect_help_describes_usage(out);

        EXPECT_EQ(0, run(name, "--bogus --version"));
        EXPECT_EQ(std::string(name) + " (TORVA 6 for RT12) " + kProgramVersion + "\n", out);

        // A fault: the reason and the usage on standard error.
        EXPECT_EQ(fault_status, run(name, "--bogus x"));
        EXPECT_EQ("", out);
        EXPECT_EQ(std::string(name) + ": unknown option --bogus\nusage: " + name,
                  err.substr(0, err.find(' ', err.find("usage: ") + 7)));
    }
}

// The IDE answers --help and --version without a display: nothing of Qt
// starts (it would stop at its missing platform plugin).
TEST_F(ProgramConventionsTest, Torva6AnswersWithoutADisplay) {
    if (!std::filesystem::exists(test::tool_path("torva6"))) GTEST_SKIP() << "torva6 not built";
    const std::string no_display = "-u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM " +
                                   test::shell_quoted(test::tool_path("torva6"));
    EXPECT_EQ(0, run_program("/usr/bin/env", no_display + " --version"));
    EXPECT_EQ(std::string("torva6 (TORVA 6 for RT12) ") + kProgramVersion + "\n", out);
    EXPECT_EQ("", err);

    EXPECT_EQ(0, run_program("/usr/bin/env", no_display + " some/dir --help"));
    EXPECT_EQ(0u, out.find("usage: torva6 "));
    EXPECT_NE(std::string::npos, out.find("\n  --version "));
    EXPECT_EQ("", err);
}

// The manual's chapter and the manual pages keep up with the programs:
// each option of the usage line appears in both.
TEST_F(ProgramConventionsTest, ManualAndManualPagesNameEveryOption) {
    const char* root = std::getenv("TORVA_SOURCE_DIR");
    if (root == nullptr) GTEST_SKIP() << "TORVA_SOURCE_DIR not set";
    const std::string manual =
        test::read_file(std::filesystem::path(root) / "docs/command_line.md");
    ASSERT_FALSE(manual.empty());
    for (const std::string& usage : {ta12_usage(), rt12run_usage(), rt12check_usage()}) {
        const std::string name = usage.substr(7, usage.find(' ', 7) - 7);
        SCOPED_TRACE(name);
        const std::string page =
            test::read_file(std::filesystem::path(root) / "docs/man" / (name + ".1"));
        ASSERT_FALSE(page.empty());
        for (const std::string& text : option_names(usage)) {
            // Manual pages write every '-' as "\-".
            std::string roff;
            for (const char c : text)
                roff += c == '-' ? std::string("\\-") : std::string(1, c);
            EXPECT_NE(std::string::npos, page.find(roff)) << text;
            EXPECT_NE(std::string::npos, manual.find("`" + text)) << text;
        }
    }
}

} // namespace
} // namespace torva
