// The driver: options, summary, failures, phase errors and repeatability.
#include "asm_fixture.h"

#include "asm/listing.h"

#include <gmock/gmock.h>

#include <random>

namespace torva {
namespace {

using test::AsmFixture;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

class SessionTest : public AsmFixture {};

const char* const kEditorOptions = " -L -w -I \"/nowhere/../include/machine/rt12\" ";

TEST_F(SessionTest, CleanRunEndsWithNoErrors) {
    dir.write("prog.asm", " org $1000\n nop\n");
    const test::AsmRun r = run(std::string(kEditorOptions) + "\"prog.asm\"");
    EXPECT_EQ(1, r.result);
    EXPECT_THAT(r.output, ElementsAre("No Errors."));
    EXPECT_TRUE(r.srecord_exists);
}

TEST_F(SessionTest, SummaryForms) {
    struct Case {
        int line;
        const char* source;
        const char* options;
        const char* summary;
    };
    const Case cases[] = {
        {__LINE__, " nop\n", "", "-- No Errors."}, // warnings off
        {__LINE__, " nop\n", "-w", "No Errors."},
        {__LINE__, " fcb 300\n", "-w", "-- No Errors.1 warning(s)."},
        {__LINE__, " fcb 300\n", "", "-- No Errors."}, // not counted when off
        {__LINE__, " frob\n fcb 300\n", "-w", "-- 1 error(s).1 warning(s)."},
        {__LINE__, " nop\n", "-x -w", "No Errors."}, // unknown option: silent
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        const test::AsmRun r = assemble(c.source, c.options);
        EXPECT_EQ(c.summary, r.output.back());
    }
}

TEST_F(SessionTest, AnErrorDeletesTheSrecordFile) {
    const test::AsmRun r = assemble(" nop\n ldaa #1,\n");
    EXPECT_EQ(0, r.result);
    EXPECT_THAT(r.output, ElementsAre("\"prog.asm\" (2): error: Syntax Error", "-- 1 error(s)."));
    EXPECT_FALSE(r.srecord_exists);
    EXPECT_THAT(r.listing, HasSubstr("\"prog.asm\" line 2, ERROR: Syntax Error\n"));
    EXPECT_TRUE(r.listing.ends_with("\n\n****** Total Errors: 1\n"));
}

TEST_F(SessionTest, MissingSourceIsAFailureWithOneLine) {
    const test::AsmRun r = run("-L \"nothere.asm\"", "nothere");
    EXPECT_EQ(0, r.result);
    EXPECT_THAT(r.output, ElementsAre("Can't open source file 'nothere.asm'"));
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "nothere.lst"));
    EXPECT_FALSE(r.srecord_exists);
}

TEST_F(SessionTest, UncreatableOutputIsAnError) {
    dir.write("prog.asm", " nop\n");
    std::filesystem::create_directory(dir.path() / "prog.s19"); // in the way
    const test::AsmRun r = run("\"prog.asm\"");
    EXPECT_EQ(0, r.result);
    EXPECT_THAT(r.output, ElementsAre("Can't create file 'prog.s19'", "-- 1 error(s)."));
}

TEST_F(SessionTest, MessagesUseTheCanonicalFileName) {
    std::filesystem::create_directories(dir.path() / "sub" / "x");
    dir.write("sub/prog.asm", " frob\n");
    const test::AsmRun r = run("\"sub//./x/../prog.asm\"");
    EXPECT_EQ("\"sub/prog.asm\" (1): error: Illegal mnemonic", r.output.at(0));
}

TEST_F(SessionTest, SecondPhaseErrorSilencesAllLaterErrors) {
    // ds takes its size from a later constant: 0 in pass 1, 2 in pass 2, so
    // both labels move between the passes.
    const test::AsmRun r = assemble(" ds later\n"
                                    "a1 nop\n"
                                    "a2 nop\n"
                                    " ldaa #1,\n"
                                    "later equ 2\n");
    EXPECT_THAT(r.output, ElementsAre("\"prog.asm\" (2): error: Phase error between passes",
                                      "\"prog.asm\" (5): warning: symbol 'later' is forward "
                                      "referenced from line 1",
                                      "-- 1 error(s).1 warning(s)."));
}

TEST_F(SessionTest, TwoRunsGiveIdenticalOutputs) {
    const std::string source = "#define DEBUG 1\n org $2000\nstart ldaa #1\n fcb 300\n"
                               " include \"missing.inc\"\n end start\n";
    const test::AsmRun a = assemble(source, "-L -S -w");
    const test::AsmRun b = assemble(source, "-L -S -w");
    EXPECT_EQ(a.output, b.output);
    EXPECT_EQ(a.listing, b.listing);
    EXPECT_EQ(a.srecords, b.srecords);
    // A second run without -w and -S keeps nothing of the first.
    const test::AsmRun c = assemble(source, "-L");
    EXPECT_EQ("-- 1 error(s).", c.output.back());
    EXPECT_EQ(std::string::npos, c.listing.find("SYMBOL TABLE"));
}

TEST_F(SessionTest, TwoSessionsSideBySide) {
    AsmSession other;
    std::vector<std::string> other_output;
    other.write_line = [&](std::string_view line) { other_output.emplace_back(line); };
    dir.write("two.asm", " frob\n");
    const test::AsmRun first = assemble(" nop\n", "-w");
    {
        test::CurrentDir here(dir.path());
        EXPECT_EQ(0, asm_assemble(other, "-w two.asm"));
    }
    EXPECT_EQ("No Errors.", first.output.back());
    EXPECT_EQ("-- 1 error(s).", other_output.back());
}

TEST_F(SessionTest, SymbolOverflowTakesTheFatalPath) {
    std::string source;
    char line[32];
    for (int i = 0; i < 40000; ++i) {
        std::snprintf(line, sizeof line, "s%d equ 1\n", i);
        source += line;
    }
    source += "label fcb new\n"; // two names find the table full
    std::vector<std::string> fatal;
    session.fatal = [&](std::string_view text) { fatal.emplace_back(text); };
    const test::AsmRun r = assemble(source);
    EXPECT_THAT(fatal, ElementsAre("(F1010) Symbol table overflow")); // once, though
    EXPECT_EQ(0, r.result);
    EXPECT_FALSE(r.srecord_exists);
    // The run failed; the message names the line where the table filled,
    // and the summary and listing say so.
    EXPECT_THAT(r.output, ElementsAre("\"prog.asm\" (40001): error: (F1010) Symbol table overflow",
                                      "-- 1 error(s)."));
    EXPECT_THAT(r.listing, HasSubstr("\"prog.asm\" line 40001, ERROR: (F1010) Symbol table "
                                     "overflow\n\n\n****** Total Errors: 1\n"));
    EXPECT_EQ(0u, r.listing.find(kAsmTitle)); // the banner still comes first
}

TEST_F(SessionTest, IncludeDirectoriesBeyondTheTwentiethAreToldAndIgnored) {
    std::string options = "-w";
    for (int i = 1; i <= 22; ++i)
        options += " -I \"/d" + std::to_string(i) + "\"";
    const test::AsmRun r = assemble(" nop\n", options);
    EXPECT_THAT(r.output, ElementsAre("warning: Include stack is exhausted, '/d21' is ignored",
                                      "warning: Include stack is exhausted, '/d22' is ignored",
                                      "No Errors."));
}

// Random bytes and mangled statements: every run ends with a result and a
// summary, never a crash (the sanitizer build watches the accesses).
TEST_F(SessionTest, GarbageNeverCrashes) {
    std::mt19937 random(12345);
    const std::string pieces[] = {
        " ldaa ", "[",     "]",      ",",    "x",      "+",      "-",         "#",     "<",
        ">",      "'",     "\"",     "\\",   "$",      "%",      "@",         "(",     ")",
        "*",      " fcb ", " movb ", "#if ", "#endif", " org ",  " include ", "label", ":",
        ";",      "\t",    "9",      "0x",   " ds ",   " bset ", "pcr",       "d,"};
    for (int run = 0; run < 40; ++run) {
        std::string source;
        for (int line = 0; line < 60; ++line) {
            const int n = int(random() % 8);
            for (int i = 0; i < n; ++i) {
                if (random() % 5 == 0)
                    source += char(random() % 256);
                else
                    source += pieces[random() % std::size(pieces)];
            }
            source += '\n';
        }
        const test::AsmRun r = assemble(source);
        ASSERT_TRUE(r.result == 0 || r.result == 1);
        ASSERT_FALSE(r.output.empty());
    }
}

} // namespace
} // namespace torva
