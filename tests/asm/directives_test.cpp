// Every directive: name tables, effects, and messages.
#include "asm/directives.h"
#include "asm_fixture.h"

#include <gmock/gmock.h>

namespace torva {
namespace {

using test::AsmFixture;
using ::testing::HasSubstr;

TEST(DirectiveLookupTest, DataLinesListOrReserveBytes) {
    struct Case {
        int line;
        const char* text;
        bool data;
    };
    const Case cases[] = {
        {__LINE__, "HELLO    FCS   \"Hello\"", true},
        {__LINE__, "         FCB   13,10,0", true},
        {__LINE__, "BUFFER   RMB   16        ; room", true},
        {__LINE__, "TABLE:\tdc.w\t1,2", true},
        {__LINE__, "NAME     FCC   /text/", true}, // another assembler's name
        {__LINE__, "ROOM     DS.L  2", true},
        // Code, constants and places are not data.
        {__LINE__, "WAIT     LDX   #PASSES", false},
        {__LINE__, "OUTPORT  EQU   $400", false},
        {__LINE__, "         ORG   $1000", false},
        {__LINE__, "LOOP:", false},
        {__LINE__, "; FCB in a comment", false},
        {__LINE__, "* RMB in a comment", false},
        {__LINE__, "", false},
        {__LINE__, "FCB", false}, // a label named FCB, no operation
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(c.data, is_data_line(c.text));
    }
}

class DirectivesTest : public AsmFixture {};

struct DataCase {
    int line;
    const char* source;
    std::vector<uint8_t> bytes; // S-record data (empty when the run failed)
    const char* message;        // in the output, or "" for "No Errors."
};

TEST_F(DirectivesTest, DataStorageStringsAlignment) {
    const DataCase cases[] = {
        {__LINE__, " fcb -1", {0xFF}, ""},
        {__LINE__, " fdb $12345", {0x23, 0x45}, "warning: Word sized operand/data truncated"},
        {__LINE__, " dc.l $12345678", {0x12, 0x34, 0x56, 0x78}, ""},
        {__LINE__, " fcb 1;comment", {}, "error: Bad delimiter"},
        {__LINE__, " fcb 1 ;comment", {0x01}, ""},
        {__LINE__, " rmb 3\n fcb 1", {0, 0, 0, 1}, ""},
        {__LINE__, " ds.w 2", {0, 0, 0, 0}, ""},
        {__LINE__, " ds.l 1", {0, 0, 0, 0}, ""},
        {__LINE__, " rmb 0", {}, "error: Undetermined size for reservation of storage"},
        {__LINE__, " ds.l $1000000", {}, "error: Undetermined size for reservation of storage"},
        {__LINE__, " rmb 2,", {}, "error: Bad constant delimiter"},
        {__LINE__, " fcs \"A\\n\\t\\\"\\7\"", {'A', 10, 11, '"', 7}, ""},
        {__LINE__, " asciiz \"hi\"", {'h', 'i', 0}, ""},
        {__LINE__, " fcs \"Hi\",0", {'H', 'i'}, "warning: Extra characters after string ignored"},
        {__LINE__,
         " asciiz \"Hi\";x",
         {'H', 'i', 0},
         "warning: Extra characters after string ignored"},
        {__LINE__, " fcs \"Hi\" ,0", {'H', 'i'}, ""}, // after a blank: a comment
        {__LINE__, " ascii hi", {}, "error: Bad operand syntax"},
        {__LINE__, " ascii \"open", {}, "error: Bad operand syntax"},
        {__LINE__, " ascii \"\xE9\"", {0xE9}, "warning: Illegal ASCII character"},
        {__LINE__, " nop\n even", {0xA7, 0xA7}, ""},
        {__LINE__, " nop\n align 4", {0xA7, 0xA7, 0xA7, 0xA7}, ""},
        {__LINE__, " align 3", {}, "error: Illegal alignment"},
        {__LINE__, " float 1.5", {0x3F, 0xC0, 0x00, 0x00}, ""},
        {__LINE__, " double -2", {0xC0, 0, 0, 0, 0, 0, 0, 0}, ""},
        {__LINE__, " float 1.5x", {}, "error: Bad operand syntax"},
        {__LINE__, " org $10\nhere org fwd\nfwd nop", {}, "error: Forward reference"},
    };
    for (const DataCase& c : cases) {
        SCOPED_TRACE(c.line);
        const test::AsmRun r = assemble(std::string(c.source) + "\n");
        if (!c.bytes.empty()) {
            EXPECT_EQ(c.bytes, r.bytes()) << c.source;
        }
        if (*c.message)
            EXPECT_THAT(r.messages(), HasSubstr(c.message)) << c.source;
        else
            EXPECT_EQ("No Errors.", r.output.back()) << c.source;
    }
}

TEST_F(DirectivesTest, ByteTruncationWarnsAndKeepsTheLowByte) {
    const test::AsmRun r = assemble(" fcb 1,2,300\n");
    EXPECT_EQ((std::vector<uint8_t>{1, 2, 0x2C}), r.bytes());
    EXPECT_EQ("\"prog.asm\" (1): warning: Byte sized operand/data truncated", r.output.at(0));
}

TEST_F(DirectivesTest, OrgLabelsEndAndEntry) {
    test::AsmRun r = assemble("here org $1234\n fdb here\n");
    EXPECT_EQ((std::vector<uint8_t>{0x12, 0x34}), r.bytes());

    r = assemble(" org $1000\nstart nop\n entry start\n end start\n");
    EXPECT_THAT(r.messages(),
                HasSubstr("warning: Old fashioned directive: 'ENTRY', use 'FUNCTION' instead"));
    EXPECT_THAT(r.srecords, HasSubstr("S9031000EC"));

    r = assemble(" org $1000\nstart nop\nother nop\n entry other\n end start\n nop\n");
    EXPECT_THAT(r.messages(), HasSubstr("warning: Program entry defined, END <address> ignored"));
    EXPECT_EQ(2u, r.bytes().size()); // nothing after END
    EXPECT_THAT(r.srecords, HasSubstr("S9031001EB"));

    r = assemble(" end nosuch\n");
    EXPECT_THAT(r.messages(), HasSubstr("warning: start symbol 'nosuch' is defined"));

    r = assemble(" entry 1,\n entry 5\n");
    EXPECT_THAT(r.messages(), HasSubstr("warning: Multiple entry definitions"));
}

TEST_F(DirectivesTest, OldFormsUnimplementedAndOptions) {
    check_output({
        {__LINE__,
         " extern foo",
         {"\"prog.asm\" (1): warning: Unimplemented assembler directive, ignored",
          "-- No Errors.1 warning(s)."}},
        {__LINE__,
         " xref foo",
         {"\"prog.asm\" (1): warning: Old fashioned directive: 'EXTERN or XREF', use 'IMPORT' "
          "instead",
          "\"prog.asm\" (1): warning: Unimplemented assembler directive, ignored",
          "-- No Errors.2 warning(s)."}},
        {__LINE__,
         " nolist",
         {"\"prog.asm\" (1): warning: Old fashioned directive: 'NOLIST', use 'OPTION NOLIST' "
          "instead",
          "-- No Errors.1 warning(s)."}},
        {__LINE__, " pragma anything", {"No Errors."}},
        {__LINE__,
         " option",
         {"\"prog.asm\" (1): error: 'option' requires argument(s)", "-- 1 error(s)."}},
        {__LINE__,
         " option turbo",
         {"\"prog.asm\" (1): error: Unrecognised option", "-- 1 error(s)."}},
        {__LINE__, " option selftest", {"No Errors."}},
        {__LINE__,
         " include \"nosuch.inc\"",
         {"\"prog.asm\" (1): error: File not found: 'nosuch.inc'", "-- 1 error(s)."}},
    });
}

TEST_F(DirectivesTest, ModelIsResetForPassTwo) {
    // The model switch takes effect at the same line in both passes: the
    // first ADDX fails, the second assembles.
    const test::AsmRun r = assemble(" addx #1\n option hcs12x\n addx #1\n");
    EXPECT_EQ((std::vector<std::string>{
                  "\"prog.asm\" (1): error: Invalid instruction for this model", "-- 1 error(s)."}),
              r.output);
}

} // namespace
} // namespace torva
