// ta12 as a process: outputs in the current directory, messages on
// standard output, exit status 0 without errors and 1 with errors; sources
// named like its outputs, over-long lines, combined flags and "--", and
// outputs that cannot be written.
#include "tool_fixture.h"

#include <algorithm>
#include <vector>

namespace torva::test {
namespace {

struct Ta12Test : ToolTest {
    Ta12Test() : ToolTest({"ta12"}) {}
    // ta12 writes its messages to standard output.
    int run(const std::string& args, const std::string& before = "") {
        return ToolTest::run("ta12", args, before);
    }
};

TEST_F(Ta12Test, ExitStatusAndOutputs) {
    std::filesystem::create_directories(dir.path() / "src dir");
    dir.write("src dir/good.asm", " org $1000\n nop\n end\n");
    dir.write("bad.asm", " frob\n");
    EXPECT_EQ(0, run("-L -w \"src dir/good.asm\""));
    EXPECT_EQ("No Errors.\n", out);
    EXPECT_EQ("S1041000A744\nS9031000EC\n", read("good.s19"));
    EXPECT_TRUE(std::filesystem::exists(dir.path() / "good.lst"));

    EXPECT_EQ(1, run("bad.asm"));
    EXPECT_EQ("\"bad.asm\" (1): error: Illegal mnemonic\n-- 1 error(s).\n", out);
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "bad.s19"));

    EXPECT_EQ(1, run("missing.asm"));
    EXPECT_EQ("Can't open source file 'missing.asm'\n", out);

    EXPECT_EQ(1, run("")); // no file: usage
}

TEST_F(Ta12Test, OtherAssemblersSyntaxWithCompat) {
    dir.write("other.asm", " org $1000\n movb #1, $20\n");
    EXPECT_EQ(1, run("-w other.asm"));
    EXPECT_EQ("\"other.asm\" (2): error: Bad operand syntax\n-- 1 error(s).\n"
              "Hint: with --compat (or OPTION COMPAT) this source assembles.\n",
              out);
    EXPECT_EQ(0, run("-w --compat other.asm"));
    EXPECT_EQ("No Errors.\n", out);
    EXPECT_EQ("S1081000180B010020A3\nS9031000EC\n", read("other.s19"));
}

TEST_F(Ta12Test, FatalErrorFailsTheRun) {
    std::string source;
    for (int i = 0; i <= 40000; ++i)
        ((source += 's') += std::to_string(i)) += " equ 1\n";
    dir.write("full.asm", source);
    EXPECT_EQ(1, run("-w full.asm"));
    // The message names the line, as every error does, before the program's
    // own fatal line.
    EXPECT_EQ("\"full.asm\" (40001): error: (F1010) Symbol table overflow\n"
              "FATAL ERROR: (F1010) Symbol table overflow, Closing TA12\n-- 1 error(s).\n",
              out);
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "full.s19"));
    // The listing's account of it is SessionTest's.
}

// A source named like an output would be overwritten by the listing, or
// deleted with the load file after an error: it is refused and left alone.
TEST_F(Ta12Test, SourceNamedLikeAnOutputIsRefused) {
    std::filesystem::create_directory(dir.path() / "sub");
    const std::string text = " frob\n";
    for (const char* name : {"prog.lst", "bad.s19", "sub/UP.LST", "-y.S19", "map.dbg"}) {
        SCOPED_TRACE(name);
        dir.write(name, text);
        EXPECT_EQ(1, run(std::string("-w -- ") + name));
        EXPECT_EQ(std::string("'") + name +
                      "' can't be assembled since the filename conflicts with assembler "
                      "generated files\n",
                  out);
        EXPECT_EQ(text, read(name));
    }
    // Another name for the same file is refused as well.
    std::filesystem::create_symlink("link.lst", dir.path() / "link.asm");
    dir.write("link.lst", text);
    EXPECT_EQ(1, run("link.asm"));
    EXPECT_EQ(text, read("link.lst"));
    std::vector<std::string> left;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
        left.push_back(entry.path().filename().string());
    std::sort(left.begin(), left.end());
    EXPECT_EQ((std::vector<std::string>{"-y.S19", "bad.s19", "err", "link.asm", "link.lst",
                                        "map.dbg", "out", "prog.lst", "sub"}),
              left);
}

// A line past the limit is cut; the run fails instead of passing without
// the bytes that were cut, with -w too (which SourceInputTest checks in
// the assembler).
TEST_F(Ta12Test, OverlongLineIsAnError) {
    std::string line = " fcb 1";
    for (int i = 1; i < 3000; ++i)
        line += ",1";
    dir.write("long.asm", " org $1000\n" + line + "\n nop\n");
    EXPECT_EQ(1, run("-w long.asm"));
    EXPECT_EQ(0u, out.find("\"long.asm\" (2): error: Source line is to long\n")) << out;
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "long.s19"));
}

TEST_F(Ta12Test, CombinedFlagsAndTheEndOfOptions) {
    dir.write("-x.asm", "here nop\n fcb 300\n");
    EXPECT_EQ(0, run("-wS -- -x.asm"));
    EXPECT_EQ(
        "\"-x.asm\" (2): warning: Byte sized operand/data truncated\n-- No Errors.1 warning(s).\n",
        out);
    EXPECT_NE(std::string::npos, read("-x.lst").find("SYMBOL TABLE"));
    EXPECT_TRUE(std::filesystem::exists(dir.path() / "-x.s19"));
}

// A file that stops taking bytes part way (here: the file size limit) fails
// the run, and the message names that file.
TEST_F(Ta12Test, AFailedWriteNamesItsFile) {
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
        // Files may grow to 4 KB; the signal of a longer write is ignored,
        // so the write itself fails.
        EXPECT_EQ(1, run(std::string(name) + ".asm", "trap '' XFSZ; ulimit -f 8; "));
        EXPECT_EQ(std::string("Can't create file '") + name + "." + name + "'\n-- 1 error(s).\n",
                  out);
        EXPECT_FALSE(std::filesystem::exists(dir.path() / (std::string(name) + ".s19")));
    }
}

} // namespace
} // namespace torva::test
