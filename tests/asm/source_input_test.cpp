// Source input and conditional assembly: includes and their search, line
// length, .stab lines, and the #if family.
#include "asm_fixture.h"

#include <gmock/gmock.h>

namespace torva {
namespace {

using test::AsmFixture;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

class SourceInputTest : public AsmFixture {};

struct CondCase {
    int line;
    const char* source;
    std::vector<uint8_t> bytes; // which nops (their immediate) survived
    const char* message;        // "" for "No Errors."
};

TEST_F(SourceInputTest, ConditionalAssembly) {
    const CondCase cases[] = {
        {__LINE__, "#if 1\n fcb 1\n#else\n fcb 2\n#endif", {1}, ""},
        {__LINE__, "#if 0\n fcb 1\n#else\n fcb 2\n#endif", {2}, ""},
        {__LINE__, "#if 1+1-2\n fcb 1\n#endif\n fcb 3", {3}, ""},
        {__LINE__, "#if 0 +1\n fcb 1\n#endif\n fcb 3", {3}, ""}, // only "0" is evaluated
        {__LINE__, ".if 1\n fcb 1\n.else\n fcb 2\n.endif", {1}, ""},
        {__LINE__, "# define X\n#ifdef X\n fcb 1\n#endif\n#ifndef X\n fcb 2\n#endif", {1}, ""},
        {__LINE__, "#ifdef NEVER\n fcb 1\n#elif NEVER\n fcb 2\n#else\n fcb 3\n#endif", {3}, ""},
        {__LINE__,
         "#define V 0\n#if 0\n#elif V\n fcb 2\n#endif",
         {2},
         ""}, // defined, whatever its value
        {__LINE__, "#if 1\n#if 0\n fcb 1\n#else\n fcb 2\n#endif\n#else\n fcb 3\n#endif", {2}, ""},
        {__LINE__, "#if 0\n#if 1\n fcb 1\n#endif\n#else\n fcb 3\n#endif", {3}, ""},
        {__LINE__, "#define V 7\n fcb V", {7}, ""},
        {__LINE__, "#endif", {}, "error: #endif with no #if"},
        {__LINE__, "#else", {}, "error: #else with no #if"},
        {__LINE__, "#elif X", {}, "error: #elif with no #if"},
        {__LINE__, "#if 1\n#else\n#else\n#endif", {}, "error: #else after #else"},
        {__LINE__, "#if 1\n#else\n#elif X\n#endif", {}, "error: #elif after #else"},
        {__LINE__, "#error stop here", {}, "error: Message Directive"},
        {__LINE__, "#if 0\n#error not seen\n#endif\n fcb 1", {1}, ""},
        {__LINE__,
         "#define M(a) a",
         {},
         "warning: Macro Expansions is NOT supported, 'define' igored"},
        {__LINE__,
         "#define D 1\n#define D 1",
         {},
         "warning: symbol 'D' previously defined at line 1"},
        {__LINE__, "#define D 1\n#define D 2", {}, "error: symbol 'D' redefined at line 2"},
        {__LINE__, "#ifdef 9\n#endif", {}, "error: Bad preproc"},
        // A name ends where a name cannot go on; the rest is a comment.
        {__LINE__, "#define DEBUG\n#ifdef DEBUG;comment\n fcb 1\n#endif", {1}, ""},
        {__LINE__, "#define DEBUG\n#ifndef DEBUG,\n fcb 1\n#endif\n fcb 3", {3}, ""},
        {__LINE__, "#define LEVEL;x\n#ifdef LEVEL\n fcb LEVEL+1\n#endif", {1}, ""},
        {__LINE__, "#define LEVEL 5;x\n fcb LEVEL", {5}, ""},
    };
    for (const CondCase& c : cases) {
        SCOPED_TRACE(c.line);
        const test::AsmRun r = assemble(std::string(c.source) + "\n");
        if (*c.message) {
            EXPECT_THAT(r.messages(), HasSubstr(c.message)) << c.source;
        } else {
            EXPECT_EQ("No Errors.", r.output.back()) << c.source;
            EXPECT_EQ(c.bytes, r.bytes()) << c.source;
        }
    }
}

TEST_F(SourceInputTest, NestingLimit) {
    std::string nineteen, twenty;
    for (int i = 0; i < 19; ++i)
        nineteen += "#if 1\n";
    nineteen += " fcb 1\n";
    for (int i = 0; i < 19; ++i)
        nineteen += "#endif\n";
    EXPECT_EQ("No Errors.", assemble(nineteen).output.back());

    for (int i = 0; i < 19; ++i)
        twenty += "#if 1\n";
    twenty += "#if 0\n fcb 1\n#endif\n";
    for (int i = 0; i < 19; ++i)
        twenty += "#endif\n";
    const test::AsmRun r = assemble(twenty);
    EXPECT_THAT(r.output,
                ElementsAre("\"prog.asm\" (20): error: #if too deeply nested", "-- 1 error(s)."));
    EXPECT_EQ((std::vector<uint8_t>{1}), r.listed_bytes()); // the body is assembled anyway
}

TEST_F(SourceInputTest, IncludesSearchAndLineNumbers) {
    std::filesystem::create_directories(dir.path() / "inc");
    dir.write("inc/deep.inc", " nop\n frob\n");
    std::string options = "-w -I \"";
    options += (dir.path() / "inc").string();
    options += '"';
    const test::AsmRun r = assemble(" nop\n include \"deep.inc\"\n frob\n", options);
    ASSERT_EQ(3u, r.output.size()) << r.messages();
    EXPECT_THAT(r.output[0], HasSubstr("inc/deep.inc\" (2): error: Illegal mnemonic"));
    EXPECT_EQ("\"prog.asm\" (3): error: Illegal mnemonic", r.output[1]);

    // Without the directory the file is not found.
    EXPECT_THAT(assemble(" include deep.inc\n").messages(),
                HasSubstr("error: File not found: 'deep.inc'"));
}

TEST_F(SourceInputTest, IncludeNames) {
    // Written with a backslash as the directory separator.
    std::filesystem::create_directories(dir.path() / "inc");
    dir.write("inc/x.inc", " fcb 7\n");
    test::AsmRun r = assemble(" include \"inc\\x.inc\"\n include inc\\y.inc\n");
    EXPECT_THAT(r.output, ElementsAre("\"prog.asm\" (2): error: File not found: 'inc\\y.inc'",
                                      "-- 1 error(s)."));
    EXPECT_THAT(r.listing, HasSubstr("---- File: \"inc/x.inc\"\n"));
    EXPECT_EQ((std::vector<uint8_t>{7}), r.listed_bytes());

    const std::string long_name(300, 'n');
    r = assemble(" include \"" + long_name + "\"\n");
    EXPECT_THAT(r.output, ElementsAre("\"prog.asm\" (1): error: (F1034) File name too long: '" +
                                          long_name + "'",
                                      "-- 1 error(s)."));
}

TEST_F(SourceInputTest, IncludeRecursionIsRefused) {
    dir.write("a.inc", " fcb 1\n include \"b.inc\"\n");
    dir.write("b.inc", " fcb 2\n include \"./a.inc\"\n");
    const test::AsmRun r = assemble(" include a.inc\n include prog.asm\n fcb 3\n");
    EXPECT_THAT(r.output,
                ElementsAre("\"b.inc\" (2): warning: Recursion in file stack, file ignored",
                            "\"prog.asm\" (2): warning: Recursion in file stack, file "
                            "ignored",
                            "-- No Errors.2 warning(s)."));
    EXPECT_EQ((std::vector<uint8_t>{1, 2, 3}), r.bytes());
}

TEST_F(SourceInputTest, LineLengthLimit) {
    // A comment line of n characters plus its line end.
    auto comment = [](size_t n, const char* tail) {
        std::string line(n, 'x');
        line[0] = ';';
        line += tail;
        return line;
    };
    const std::string ok = comment(4092, "\n");
    const std::string long_line = comment(4093, "\n");
    EXPECT_EQ("No Errors.", assemble(ok).output.back());
    // An error, counted and shown with or without -w: the bytes past the
    // limit are never assembled.
    for (const char* options : {"-w", ""}) {
        SCOPED_TRACE(options);
        const test::AsmRun r = assemble(long_line, options);
        EXPECT_THAT(r.output, ElementsAre("\"prog.asm\" (1): error: Source line is to long",
                                          "-- 1 error(s)."));
        EXPECT_FALSE(r.srecord_exists);
    }
    // A longer line stays one line, and the lines after it keep their
    // numbers.
    const test::AsmRun r = assemble(comment(1 << 20, "\n frob\n"));
    EXPECT_THAT(r.output,
                ElementsAre("\"prog.asm\" (1): error: Source line is to long",
                            "\"prog.asm\" (2): error: Illegal mnemonic", "-- 2 error(s)."));
    EXPECT_THAT(r.listing, HasSubstr("    2.  frob\n"));
}

TEST_F(SourceInputTest, StabLinesAndContinuations) {
    test::AsmRun r = assemble(".stab anything\\\n frob\n fcb 1\n");
    EXPECT_EQ("No Errors.", r.output.back());
    EXPECT_EQ((std::vector<uint8_t>{1}), r.bytes());
    r = assemble(" fcb 1\n.stab x\\\n");
    EXPECT_THAT(r.messages(), HasSubstr("error: Read Error: Possibly last line continuation"));
}

TEST_F(SourceInputTest, CarriageReturnsAndMissingLastLineEnd) {
    test::AsmRun r = assemble(" fcb 1\r\n fcb 2");
    EXPECT_EQ("No Errors.", r.output.back());
    EXPECT_EQ((std::vector<uint8_t>{1, 2}), r.bytes());
    EXPECT_THAT(r.listing, HasSubstr("    2.  fcb 2\n"));

    // A lone carriage return ends a line too, in sources and includes.
    dir.write("cr.inc", " fcb 2\r frob\r");
    r = assemble(" fcb 1\r include cr.inc\r fcb 3\r");
    EXPECT_THAT(r.output, ElementsAre("\"cr.inc\" (2): error: Illegal mnemonic", "-- 1 error(s)."));
    EXPECT_EQ((std::vector<uint8_t>{1, 2, 3}), r.listed_bytes());
    EXPECT_THAT(r.listing, HasSubstr("    5.  fcb 3\n"));
}

} // namespace
} // namespace torva
