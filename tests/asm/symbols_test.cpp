// Symbol definitions across the passes, the hash chains and the -S dump.
#include "asm/symbols.h"
#include "asm_fixture.h"

#include <gmock/gmock.h>

namespace torva {
namespace {

using test::AsmFixture;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

class SymbolsTest : public AsmFixture {};

TEST(SymbolTableTest, ChainsByCharacterSumInOrderOfEntry) {
    SymbolTable t;
    for (const char* name : {"ZZ", "BA", "B", "AB", "A", "ab"})
        ASSERT_NE(nullptr, t.enter(name, 0, 0, 0));
    EXPECT_EQ(nullptr, t.enter("AB", 0, 0, 0)); // entered twice
    EXPECT_NE(nullptr, t.find("ab"));           // case matters
    EXPECT_EQ(nullptr, t.find("Ab"));
    std::vector<std::string> order;
    t.for_each_in_chain_order([&](const SymbolRecord& r) { order.push_back(r.name); });
    // A=65, B=66, AB=BA=131 (first met first), ZZ=180, ab=195.
    EXPECT_THAT(order, ElementsAre("A", "B", "BA", "AB", "ZZ", "ab"));
    EXPECT_EQ(131, SymbolTable::hash("AB"));
}

TEST_F(SymbolsTest, DefinitionsAndTheirMessages) {
    struct Case {
        int line;
        const char* source;
        std::vector<std::string> output;
    };
    const Case cases[] = {
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
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(c.output, assemble(c.source).output);
    }
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
