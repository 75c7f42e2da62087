// The compatibility dialect: each construct of other assemblers against the
// same program in the default dialect, the default's messages for them, the
// hint after a failure the dialect would mend, and the line rewriting.
#include "asm/compat_line.h"
#include "asm_fixture.h"

#include <gmock/gmock.h>

namespace torva {
namespace {

using test::AsmFixture;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;

constexpr const char* kHint = "Hint: with OPTION COMPAT this source assembles.";

class CompatTest : public AsmFixture {
protected:
    void SetUp() override { dir.write("regs.inc", "PORTB equ $0001\nDDRB equ $0003\n"); }
};

struct Construct {
    int line;
    const char* other;       // written for another assembler
    const char* ours;        // the same program in the default dialect
    const char* without_msg; // what the default dialect says of `other`
};

const Construct kConstructs[] = {
    {__LINE__, " movb #$FF, DDRB", " movb #$FF,DDRB", "error: Bad operand syntax"},
    {__LINE__, " bset DDRB ,#1", " bset DDRB,#1", "error: Bad operand syntax"},
    {__LINE__, " leas -7,\tSP", " leas -7,SP", "error: Illegal Addressing Mode"},
    {__LINE__, " dc.b 13, 10", " dc.b 13,10", "error: Unterminated expression"},
    {__LINE__, " ldaa [DDRB , x ]", " ldaa [DDRB,x]", "error: Syntax Error"},
    {__LINE__, " jsr DDRB;", " jsr DDRB", "error: Syntax Error"},
    {__LINE__, " fcb 1;two", " fcb 1", "error: Bad delimiter"},
    {__LINE__, " INCLUDE 'regs.inc'", " include \"regs.inc\"", "error: File not found"},
    {__LINE__, "#include regs.inc", " include \"regs.inc\"", "error: Illegal label"},
    {__LINE__, "\t#include \"regs.inc\"", " include \"regs.inc\"", "error: Illegal mnemonic"},
    {__LINE__, " .include <regs.inc>", " include \"regs.inc\"", "error: Illegal mnemonic"},
    {__LINE__, " include \"C:\\68HCS12\\regs.inc\"", " include \"regs.inc\"",
     "error: File not found"},
    {__LINE__, " include \"REGS.INC\"", " include \"regs.inc\"", "error: File not found"},
    {__LINE__, " ABSENTRY go\ngo nop", "go nop\n end go", "error: Illegal mnemonic"},
    {__LINE__, " FCC /a b;c/", " fcs \"a b;c\"", "error: Illegal mnemonic"},
    {__LINE__, "s FCC \"RUN\"\n dw s", "s fcs \"RUN\"\n fdb s", "error: Illegal mnemonic"},
    {__LINE__, " db 1\n dw 2\n rmw 1\n db 3", " fcb 1\n fdb 2\n org *+2\n fcb 3",
     "error: Illegal mnemonic"},
    {__LINE__, " dc.b \"Hi\",13,10,0", " fcs \"Hi\"\n fcb 13,10,0", "error: Illegal character"},
    {__LINE__, " DC.B 'RUN ','A',0", " fcs \"RUN \"\n fcb 'A',0", "error: Illegal character"},
    {__LINE__, "  loop: nop\n bra loop", "loop nop\n bra loop", "error: Illegal mnemonic"},
    {__LINE__, "Count equ 5\n ldaa #COUNT", "Count equ 5\n ldaa #Count",
     "error: Undefined symbol 'COUNT'"},
    {__LINE__, " lda #1\n ldb #2\n sta $10\n stb $11\n ora #1\n orb #2",
     " ldaa #1\n ldab #2\n staa $10\n stab $11\n oraa #1\n orab #2", "error: Illegal mnemonic"},
    {__LINE__, " cmpd #1\n cmpx #2\n cmpy #3\n cmps #4", " cpd #1\n cpx #2\n cpy #3\n cps #4",
     "error: Illegal mnemonic"},
};

TEST_F(CompatTest, EachConstructGivesTheBytesOfTheDefaultProgram) {
    for (const Construct& c : kConstructs) {
        SCOPED_TRACE(c.line);
        const std::string prologue = " include \"regs.inc\"\n org $1000\n";
        const test::AsmRun ours = assemble(prologue + c.ours + "\n");
        ASSERT_EQ(1, ours.result) << ours.messages();

        for (const char* options : {"-L -w -c", "-L -w"}) {
            const std::string opt_in = std::string(options) == "-L -w" ? " OPTION COMPAT\n" : "";
            const test::AsmRun other = assemble(opt_in + prologue + c.other + "\n", options);
            EXPECT_EQ(1, other.result) << options << "\n" << other.messages();
            EXPECT_EQ(ours.srecords, other.srecords) << options << ": " << c.other;
        }

        // Without the dialect: the default's own message, then the hint.
        const test::AsmRun plain = assemble(prologue + c.other + "\n");
        EXPECT_EQ(0, plain.result);
        EXPECT_THAT(plain.messages(), HasSubstr(c.without_msg)) << c.other;
        EXPECT_EQ(kHint, plain.output.back()) << c.other;
    }
}

TEST_F(CompatTest, HintOnlyWhenTheDialectMendsTheSource) {
    struct Case {
        int line;
        const char* source;
        const char* options;
    };
    const Case cases[] = {
        {__LINE__, " org $1000\n frob\n", "-L -w"},          // an error of its own
        {__LINE__, " org $1000\n lda #1\n frob\n", "-L -w"}, // mended in part only
        {__LINE__, " org $1000\n ldaa #1, x\n", "-L -w -c"}, // the dialect was on
        {__LINE__, " org $1000\n ldaa 5 ,x\n", "-L -w"},     // no failure at all
        {__LINE__, " org $1000\n ldaa x\nx equ 1\nX equ 2\n",
         "-L -w"}, // a duplicate in the dialect
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        const test::AsmRun r = assemble(c.source, c.options);
        EXPECT_THAT(r.messages(), Not(HasSubstr("Hint:")));
    }
    // The host names where it offers the dialect.
    session.compat_switch = "--compat";
    const test::AsmRun r = assemble(" org $1000\n lda #1\n");
    EXPECT_EQ("Hint: with --compat (or OPTION COMPAT) this source assembles.", r.output.back());
    // The trial run leaves the failed run's listing and writes no load file.
    EXPECT_FALSE(r.srecord_exists);
    EXPECT_THAT(r.listing, HasSubstr("ERROR: Illegal mnemonic"));
}

TEST_F(CompatTest, NamesWithoutRegardToCaseFromOptionCompatOn) {
    const test::AsmRun r = assemble("Count equ 1\n ldaa #COUNT\n OPTION COMPAT\n ldaa #COUNT\n");
    EXPECT_THAT(r.output, ElementsAre("\"prog.asm\" (2): error: Undefined symbol 'COUNT'",
                                      "-- 1 error(s).", kHint));
    // Two definitions that differ only in case are one name defined twice.
    const test::AsmRun twice = assemble("loop nop\nLOOP nop\n", "-L -w -c");
    EXPECT_THAT(twice.messages(), HasSubstr("(2): error: Multiple definition"));
    // The symbol table lists a name as first written.
    const test::AsmRun dump = assemble("Start nop\n bra START\n", "-L -w -S -c");
    EXPECT_THAT(dump.listing, HasSubstr("\tStart"));
    EXPECT_THAT(dump.listing, Not(HasSubstr("\tSTART")));
}

TEST_F(CompatTest, LinesOfTheDefaultsOwnKeepTheirMeaning) {
    // .stab with its continuation, the # preprocessor lines and comments
    // read as in the default dialect.
    const std::string source = ".stab \"x\", y\\\n more, hidden\n#define ONE 1\n"
                               "#if ONE , 2\n fcb 1, 2\n#else\n fcb 3\n#endif\n"
                               "* a, b ; c\n; d , e\n";
    const test::AsmRun other = assemble(" org $1000\n" + source, "-L -w -c");
    EXPECT_EQ(1, other.result) << other.messages();
    EXPECT_EQ("S10510000102E7\nS9031000EC\n", other.srecords);
}

TEST_F(CompatTest, ReservedSpaceStaysOutOfTheLoadFile) {
    const std::string source = " org 0\nPORTA rmb 1\nPORTB rmb 1\n org $1000\n ldaa PORTB\n";
    const test::AsmRun other = assemble(source, "-L -w -c");
    EXPECT_EQ("S1061000B6000132\nS9030000FC\n", other.srecords);
    // Every way of reserving space counts its units and writes nothing.
    const test::AsmRun sizes = assemble(" org 0\n ds 1\n ds.b 1\n ds.w 1\n ds.l 1\n rmw 1\n"
                                        "after rmb 1\n org $1000\n ldaa after\n",
                                        "-L -w -c");
    EXPECT_EQ("S1061000B6000A29\nS9030000FC\n", sizes.srecords) << sizes.messages();
    const test::AsmRun ours = assemble(source);
    EXPECT_THAT(ours.srecords, HasSubstr("S10500000000FA\n")); // two zero bytes at 0
}

TEST_F(CompatTest, ListingShowsTheSourceAndNotesTheDialect) {
    const test::AsmRun r = assemble(" org $1000\n  here:  movb #1, here ; x\n", "-L -w -c");
    EXPECT_THAT(r.listing, HasSubstr("Version 1.6.3 (other assemblers' syntax accepted)\n"));
    EXPECT_THAT(r.listing, HasSubstr("   2.   here:  movb #1, here ; x\n"));
    const test::AsmRun plain = assemble(" org $1000\n nop\n");
    EXPECT_THAT(plain.listing, HasSubstr("Version 1.6.3\n"));
    // A message's column points into the line as the source has it.
    const test::AsmRun bad = assemble(" dc.b 1, 2, 1+\n", "-L -w -c");
    EXPECT_THAT(bad.messages(), HasSubstr("Unterminated expression, Position[14]"));
}

TEST(CompatLineTest, Rewriting) {
    struct Case {
        int line;
        const char* in;
        const char* out; // nullptr: the line reads the same in both dialects
        bool xgate = false;
    };
    const Case cases[] = {
        {__LINE__, "\tmovb #$FF, DDRB ; set, go\n", "\tmovb #$FF,DDRB ; set, go\n"},
        {__LINE__, "  loop:  ldaa 1 , x\n", "loop:  ldaa 1,x\n"},
        {__LINE__, "  loop:ldaa 1\n", "loop: ldaa 1\n"},
        {__LINE__, "#include <r.inc>\n", " include \"r.inc\"\n"},
        {__LINE__, "# include 'a\\b.inc' ; c\n", " include \"a\\b.inc\" ; c\n"},
        {__LINE__, " INCLUDE r.inc;x\n", " INCLUDE r.inc ;x\n"},
        {__LINE__, " jsr putsLCD;\n", " jsr putsLCD ;\n"},
        {__LINE__, " rts;done\n", " rts ;done\n"},
        {__LINE__, " dc.b 'a, b;', 1\n", " dc.b 'a, b;',1\n"},
        {__LINE__, " ldaa (1 + 2) , x\n", " ldaa (1+2),x\n"},
        {__LINE__, " LDA #1\n", " ldaa #1\n"},
        {__LINE__, " ldb r1, (r2, #1)\n", " ldb r1,(r2,#1)\n", true}, // XGATE's own LDB
        {__LINE__, " fcc /a, b;c/ ;x\n", nullptr},
        {__LINE__, " ldaa #';'\n", nullptr},
        {__LINE__, " ldaa 5 x\n", nullptr},
        {__LINE__, "* a, b\n", nullptr},
        {__LINE__, " #if A , B\n", nullptr},
        {__LINE__, "1abc nop\n", nullptr},
        {__LINE__, ".stab a, b\n", nullptr},
        {__LINE__, "#define A, B\n", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        std::string text;
        std::vector<uint32_t> columns;
        const bool changed = rewrite_compat_line(c.in, c.xgate, text, columns);
        EXPECT_EQ(c.out != nullptr, changed);
        if (!c.out) continue;
        EXPECT_EQ(c.out, text);
        ASSERT_EQ(text.size(), columns.size());
        // The columns point into the line, in order (moved labels excepted:
        // they come first and from further right).
        for (size_t i = 0; i < columns.size(); ++i)
            EXPECT_LT(columns[i], std::string_view(c.in).size());
        EXPECT_EQ(std::string_view(c.in).size() - 1, columns.back()); // the line end
    }
}

} // namespace
} // namespace torva
