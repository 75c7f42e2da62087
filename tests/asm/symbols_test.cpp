// Symbol definitions across the passes, the hash chains and the -S dump.
#include "asm_fixture.h"

#include <gmock/gmock.h>

namespace torva {
namespace {

using test::AsmFixture;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

class SymbolsTest : public AsmFixture {};

TEST_F(SymbolsTest, DefinitionsAndTheirMessages) {
    check_output({
        {__LINE__,
         "dup nop\ndup nop\n",
         {"\"prog.asm\" (1): error: Multiple definition",
          "\"prog.asm\" (2): error: Multiple definition", "-- 2 error(s)."}},
        {__LINE__, "v set 1\nv set 2\nv set 3\n fcb v\n", {"No Errors."}},
        {__LINE__,
         "c equ 1\nc equ 1\n",
         {"\"prog.asm\" (2): error: symbol 'c' previously defined at line 1", "-- 1 error(s)."}},
        {__LINE__,
         "c equ 1\nc equ 2\n",
         {"\"prog.asm\" (2): error: symbol 'c' previously defined at line 1",
          "\"prog.asm\" (2): error: symbol 'c' redefined at line 2", "-- 2 error(s)."}},
        {__LINE__, " equ 1\n", {"\"prog.asm\" (1): error: No label for \"equ\"", "-- 1 error(s)."}},
        {__LINE__,
         " fcb later\nlater equ 5\n",
         {"\"prog.asm\" (2): warning: symbol 'later' is forward referenced from line 1",
          "-- No Errors.1 warning(s)."}},
        {__LINE__,
         " fcb nowhere\n",
         {"\"prog.asm\" (1): error: Undefined symbol 'nowhere'", "-- 1 error(s)."}},
        {__LINE__, "Lab nop\nlab nop\n", {"No Errors."}}, // case matters
        {__LINE__, "9bad nop\n", {"\"prog.asm\" (1): error: Illegal label", "-- 1 error(s)."}},
    });
}

// Mistakes that must not hide: every undefined reference is reported (also
// beside a forward one and for names first met in pass 2), and a label
// defined twice keeps its line's code, so nothing after it moves.
TEST_F(SymbolsTest, MistakesStayVisible) {
    test::AsmRun r = assemble(" org $1000\n"
                              " ldx #TABEL+OFFS\n"
                              " fdb TABEL+TABEL\n"
                              "OFFS equ 2\n");
    EXPECT_THAT(r.output,
                ElementsAre("\"prog.asm\" (2): error: Undefined symbol 'TABEL'",
                            "\"prog.asm\" (3): error: Undefined symbol 'TABEL'",
                            "\"prog.asm\" (3): error: Undefined symbol 'TABEL'",
                            "\"prog.asm\" (4): warning: symbol 'OFFS' is forward referenced "
                            "from line 2",
                            "-- 3 error(s).1 warning(s)."));
    EXPECT_FALSE(r.srecord_exists);

    // FLAG is unknown when pass 1 meets the #if, so the body is read only in
    // pass 2.
    r = assemble("#if FLAG\n fcb NEWSYM+NEWSYM2\n#endif\nFLAG equ 1\n");
    EXPECT_THAT(r.output,
                ElementsAre("\"prog.asm\" (2): error: Undefined symbol: 'NEWSYM'",
                            "\"prog.asm\" (2): error: Undefined symbol: 'NEWSYM2'",
                            "\"prog.asm\" (4): warning: symbol 'FLAG' is forward referenced "
                            "from line 1",
                            "-- 2 error(s).1 warning(s)."));

    r = assemble(" nop\n"
                 "LOOP nop\n"
                 "LOOP nop\n"
                 " ldaa #1+\n"
                 " frob\n"
                 " bra nowhere\n"
                 "after bra after\n");
    EXPECT_THAT(r.output,
                ElementsAre("\"prog.asm\" (2): error: Multiple definition",
                            "\"prog.asm\" (3): error: Multiple definition",
                            "\"prog.asm\" (4): error: Unterminated expression, Position[9]",
                            "\"prog.asm\" (4): error: Syntax Error",
                            "\"prog.asm\" (5): error: Illegal mnemonic",
                            "\"prog.asm\" (6): error: Undefined symbol 'nowhere'",
                            "-- 6 error(s)."));
    EXPECT_THAT(r.listing, HasSubstr("000002 A7                   3. LOOP nop\n"));
    EXPECT_THAT(r.listing, HasSubstr("000005 20 FE                7. after bra after\n"));
}

// A redefined constant keeps its first value; the listing shows what each
// line evaluated to.
TEST_F(SymbolsTest, RedefinedConstantListsItsOwnValue) {
    const test::AsmRun r = assemble("E1 EQU 5\nE1 EQU 6\n fcb E1\n");
    EXPECT_THAT(r.output,
                ElementsAre("\"prog.asm\" (2): error: symbol 'E1' previously defined at line 1",
                            "\"prog.asm\" (2): error: symbol 'E1' redefined at line 2",
                            "-- 2 error(s)."));
    EXPECT_THAT(r.listing, HasSubstr("       0000 0005            1. E1 EQU 5\n"));
    EXPECT_THAT(r.listing, HasSubstr("       0000 0006            2. E1 EQU 6\n"));
    EXPECT_THAT(r.listing, HasSubstr("000000 05                   3.  fcb E1\n"));
}

TEST_F(SymbolsTest, LabelTakesTheStatementAddress) {
    const test::AsmRun r =
        assemble(" org $1000\n nop\nhere: fdb here,there\nthere rmb 2\n fdb *\n");
    EXPECT_EQ((std::vector<uint8_t>{0xA7, 0x10, 0x01, 0x10, 0x05, 0, 0, 0x10, 0x07}), r.bytes());
}

// NEVER hashes to chain 128, BA and AB to 131.
TEST_F(SymbolsTest, DumpInChainOrder) {
    const test::AsmRun r = assemble("BA equ $12345\nAB nop\n#ifdef NEVER\n#endif\n", "-L -S");
    EXPECT_TRUE(r.listing.ends_with("\n--\tSYMBOL TABLE:\n--\tVALUE\tSYMBOL "
                                    "\n\t0000\tNEVER\n\t12345\tBA\n\t0000\tAB"))
        << r.listing;
}

} // namespace
} // namespace torva
