// ta12 as a process: outputs in the current directory, messages on
// standard output, exit status 0 without errors and 1 with errors; sources
// named like its outputs, over-long lines, combined flags and "--", and
// outputs that cannot be written.
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

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

// Runs ta12 in `dir` after the shell commands in `before`; returns its exit
// status, its output in `out`.
int run(const test::TempDir& dir, const std::string& args, std::string& out,
        const std::string& before = "") {
    const std::string command = "cd '" + dir.path().string() + "' && (" + before + "exec '" +
                                ta12() + "' " + args + ") > ta12.out 2>&1";
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
    // The message names the line, as every error does, before the program's
    // own fatal line.
    EXPECT_EQ("\"full.asm\" (40001): error: (F1010) Symbol table overflow\n"
              "FATAL ERROR: (F1010) Symbol table overflow, Closing TA12\n-- 1 error(s).\n",
              out);
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "full.s19"));
    const std::string listing = read(dir.path() / "full.lst");
    EXPECT_NE(std::string::npos,
              listing.find("\n\"full.asm\" line 40001, ERROR: (F1010) Symbol table overflow\n"));
    EXPECT_TRUE(listing.ends_with("****** Total Errors: 1\n"));
}

// A source named like an output would be overwritten by the listing, or
// deleted with the load file after an error: it is refused and left alone.
TEST(Ta12Test, SourceNamedLikeAnOutputIsRefused) {
    if (!std::filesystem::exists(ta12())) GTEST_SKIP() << "ta12 not built at " << ta12();
    test::TempDir dir;
    std::filesystem::create_directory(dir.path() / "sub");
    const std::string text = " frob\n";
    for (const char* name : {"prog.lst", "bad.s19", "sub/UP.LST", "-y.S19", "map.dbg"}) {
        SCOPED_TRACE(name);
        dir.write(name, text);
        std::string out;
        EXPECT_EQ(1, run(dir, std::string("-w -- ") + name, out));
        EXPECT_EQ(std::string("'") + name +
                      "' can't be assembled since the filename conflicts with assembler "
                      "generated files\n",
                  out);
        EXPECT_EQ(text, read(dir.path() / name));
    }
    // Another name for the same file is refused as well.
    std::filesystem::create_symlink("link.lst", dir.path() / "link.asm");
    dir.write("link.lst", text);
    std::string out;
    EXPECT_EQ(1, run(dir, "link.asm", out));
    EXPECT_EQ(text, read(dir.path() / "link.lst"));
    std::vector<std::string> left;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
        left.push_back(entry.path().filename().string());
    std::sort(left.begin(), left.end());
    EXPECT_EQ((std::vector<std::string>{"-y.S19", "bad.s19", "link.asm", "link.lst", "map.dbg",
                                        "prog.lst", "sub", "ta12.out"}),
              left);
}

// A line past the limit is cut; the run fails instead of passing without
// the bytes that were cut, with or without -w.
TEST(Ta12Test, OverlongLineIsAnError) {
    if (!std::filesystem::exists(ta12())) GTEST_SKIP() << "ta12 not built at " << ta12();
    test::TempDir dir;
    std::string line = " fcb 1";
    for (int i = 1; i < 3000; ++i)
        line += ",1";
    dir.write("long.asm", " org $1000\n" + line + "\n nop\n");
    for (const char* options : {"", "-w"}) {
        SCOPED_TRACE(options);
        std::string out;
        EXPECT_EQ(1, run(dir, std::string(options) + " long.asm", out));
        EXPECT_EQ(0u, out.find("\"long.asm\" (2): error: Source line is to long\n")) << out;
        EXPECT_TRUE(out.ends_with("-- 1 error(s).\n")) << out;
        EXPECT_FALSE(std::filesystem::exists(dir.path() / "long.s19"));
    }
}

TEST(Ta12Test, CombinedFlagsAndTheEndOfOptions) {
    if (!std::filesystem::exists(ta12())) GTEST_SKIP() << "ta12 not built at " << ta12();
    test::TempDir dir;
    dir.write("-x.asm", "here nop\n fcb 300\n");
    std::string out;
    EXPECT_EQ(0, run(dir, "-wS -- -x.asm", out));
    EXPECT_EQ(
        "\"-x.asm\" (2): warning: Byte sized operand/data truncated\n-- No Errors.1 warning(s).\n",
        out);
    EXPECT_NE(std::string::npos, read(dir.path() / "-x.lst").find("SYMBOL TABLE"));
    EXPECT_TRUE(std::filesystem::exists(dir.path() / "-x.s19"));
}

// A file that stops taking bytes part way (here: the file size limit) fails
// the run, and the message names that file.
TEST(Ta12Test, AFailedWriteNamesItsFile) {
    if (!std::filesystem::exists(ta12())) GTEST_SKIP() << "ta12 not built at " << ta12();
    test::TempDir dir;
    std::string long_listing;
    for (int i = 0; i < 300; ++i)
        long_listing += " nop\n";
    std::string long_srecords = " nolist\n";
    for (int i = 0; i < 300; ++i)
        long_srecords += " fcb 1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16\n";
    dir.write("lst.asm", long_listing);
    dir.write("s19.asm", long_srecords);
    for (const char* name : {"lst", "s19"}) {
        SCOPED_TRACE(name);
        std::string out;
        // Files may grow to 4 KB; the signal of a longer write is ignored,
        // so the write itself fails.
        EXPECT_EQ(1, run(dir, std::string(name) + ".asm", out, "trap '' XFSZ; ulimit -f 8; "));
        EXPECT_EQ(std::string("Can't create file '") + name + "." + name + "'\n-- 1 error(s).\n",
                  out);
        EXPECT_FALSE(std::filesystem::exists(dir.path() / (std::string(name) + ".s19")));
    }
}

} // namespace
} // namespace torva
