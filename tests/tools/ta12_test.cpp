// ta12 as a process: outputs in the current directory, messages on
// standard output, exit status 0 without errors and 1 with errors.
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace torva {
namespace {

std::string ta12() {
    // The test runs from build/tests; ta12 sits in build/bin.
    if (const char* build = std::getenv("TORVA_BUILD_DIR")) return std::string(build) + "/bin/ta12";
    std::error_code ec;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
    return (self.parent_path().parent_path() / "bin" / "ta12").string();
}

std::string read(const std::filesystem::path& p) {
    std::ifstream in(p);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// Runs ta12 in `dir`; returns its exit status, its output in `out`.
int run(const test::TempDir& dir, const std::string& args, std::string& out) {
    const std::string command =
        "cd '" + dir.path().string() + "' && '" + ta12() + "' " + args + " > ta12.out 2>&1";
    const int status = std::system(command.c_str());
    out = read(dir.path() / "ta12.out");
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(Ta12Test, ExitStatusAndOutputs) {
    if (!std::filesystem::exists(ta12())) GTEST_SKIP() << "ta12 not built at " << ta12();
    test::TempDir dir;
    std::filesystem::create_directories(dir.path() / "src dir");
    dir.write("src dir/good.asm", " org $1000\n nop\n end\n");
    dir.write("bad.asm", " frob\n");
    std::string out;
    EXPECT_EQ(0, run(dir, "-L -w \"src dir/good.asm\"", out));
    EXPECT_EQ("No Errors.\n", out);
    EXPECT_EQ("S1041000A744\nS9031000EC\n", read(dir.path() / "good.s19"));
    EXPECT_TRUE(std::filesystem::exists(dir.path() / "good.lst"));

    EXPECT_EQ(1, run(dir, "bad.asm", out));
    EXPECT_EQ("\"bad.asm\" (1): error: Illegal mnemonic\n-- 1 error(s).\n", out);
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "bad.s19"));

    EXPECT_EQ(1, run(dir, "missing.asm", out));
    EXPECT_EQ("Can't open source file 'missing.asm'\n", out);

    EXPECT_EQ(1, run(dir, "", out)); // no file: usage
}

TEST(Ta12Test, OtherAssemblersSyntaxWithCompat) {
    if (!std::filesystem::exists(ta12())) GTEST_SKIP() << "ta12 not built at " << ta12();
    test::TempDir dir;
    dir.write("other.asm", " org $1000\n movb #1, $20\n");
    std::string out;
    EXPECT_EQ(1, run(dir, "-w other.asm", out));
    EXPECT_EQ("\"other.asm\" (2): error: Bad operand syntax\n-- 1 error(s).\n"
              "Hint: with --compat (or OPTION COMPAT) this source assembles.\n",
              out);
    EXPECT_EQ(0, run(dir, "-w --compat other.asm", out));
    EXPECT_EQ("No Errors.\n", out);
    EXPECT_EQ("S1081000180B010020A3\nS9031000EC\n", read(dir.path() / "other.s19"));
}

TEST(Ta12Test, FatalErrorFailsTheRun) {
    if (!std::filesystem::exists(ta12())) GTEST_SKIP() << "ta12 not built at " << ta12();
    test::TempDir dir;
    std::string source;
    for (int i = 0; i <= 40000; ++i)
        ((source += 's') += std::to_string(i)) += " equ 1\n";
    dir.write("full.asm", source);
    std::string out;
    EXPECT_EQ(1, run(dir, "-w full.asm", out));
    EXPECT_EQ("FATAL ERROR: (F1010) Symbol table overflow, Closing TA12\n-- 1 error(s).\n", out);
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "full.s19"));
}

} // namespace
} // namespace torva
