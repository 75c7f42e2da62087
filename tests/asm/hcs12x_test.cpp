// The HCS12X model: the CPU12X TFR/EXG/SEX postbytes and the moves with
// every indexed form, against the HCS12 model's rules.
#include "asm/expression.h"
#include "asm/session.h"
#include "asm/transfer_postbytes.h"
#include "asm_fixture.h"

#include <gmock/gmock.h>

#include <map>

namespace torva {
namespace {

using test::AsmFixture;
using ::testing::HasSubstr;

class Hcs12xTest : public AsmFixture {};

TEST_F(Hcs12xTest, TransfersWithTheCpu12xRegisters) {
    check_code(
        {
            {__LINE__, " tfr XH,A", {0xB7, 0x58}, ""},
            {__LINE__, " tfr spl,b", {0xB7, 0x79}, ""},
            {__LINE__, " exg a,yh", {0xB7, 0x8E}, ""},
            {__LINE__, " exg ccrw,x", {0xB7, 0xAD}, ""},
            {__LINE__, " tfr x,y", {0xB7, 0x56}, ""}, // CPU12 pairs keep their codes
            {__LINE__, " sex d,y", {0xB7, 0x4E}, ""},
            {__LINE__, " sex b,sp", {0xB7, 0x17}, ""},
            {__LINE__, " tfr xh,b", {}, "error: Illegal register combination"},
            {__LINE__, " tfr a,xl", {}, "error: Illegal register combination"},
            {__LINE__, " tfr ccrw,ccr", {}, "error: Illegal register combination"},
            {__LINE__, " sex a,xh", {}, "error: Illegal register combination"},
            {__LINE__, " sex x,d", {}, "error: Illegal register combination"},
            {__LINE__, " tfr xh", {}, "error: Bad Register(s)"},
            {__LINE__, " tfr pc,a", {}, "error: Bad Register(s)"},
        },
        " option hcs12x\n");
    // Outside the HCS12X model the new names are plain symbols.
    check_code(
        {
            {__LINE__, " tfr xh,a", {}, "error: Bad Register(s)"},
            {__LINE__, " exg a,ccrw", {}, "error: Bad Register(s)"},
            {__LINE__, " sex d,y", {0xB7, 0x46}, ""},
        },
        "");
}

// No two register pairs of TFR (or of EXG) share a postbyte, and every
// transfer can be made an exchange: a slip in the table would break one.
TEST_F(Hcs12xTest, TransferPostbytesAreDistinct) {
    const int names[] = {kTokRegA,   kTokRegB,    kTokRegCCR,  kTokRegD,   kTokRegX,  kTokRegY,
                         kTokRegSP,  kTokRegXH,   kTokRegXL,   kTokRegYH,  kTokRegYL, kTokRegSPH,
                         kTokRegSPL, kTokRegCCRW, kTokRegCCRL, kTokRegCCRH};
    for (const TransferKind kind : {TransferKind::Tfr, TransferKind::Exg}) {
        std::map<int, std::pair<int, int>> seen;
        for (const int a : names)
            for (const int b : names) {
                const int pb = transfer_postbyte(kModelHCS12X, kind, a, b);
                if (pb < 0) continue;
                EXPECT_EQ(kind == TransferKind::Exg, (pb & 0x80) != 0) << a << "," << b;
                const auto [it, fresh] = seen.emplace(pb, std::make_pair(a, b));
                EXPECT_TRUE(fresh) << "postbyte " << pb << " twice: " << a << "," << b << " and "
                                   << it->second.first << "," << it->second.second;
                if (kind == TransferKind::Tfr) {
                    EXPECT_EQ(pb | 0x80, transfer_postbyte(kModelHCS12X, TransferKind::Exg, a, b));
                }
            }
        EXPECT_EQ(49u + 25u, seen.size());
    }
    // The HCS12 model knows none of the new pairs.
    EXPECT_EQ(-1, transfer_postbyte(kModelHCS12, TransferKind::Tfr, kTokRegXH, kTokRegA));
}

TEST_F(Hcs12xTest, MovesTakeEveryIndexedFormOnlyInTheHcs12xModel) {
    // The bytes of every valid move of either model are compared with GNU as
    // in oracle_test; here, what each model refuses.
    check_code({{__LINE__, " movb #1,#2", {}, "error: Illegal destination operand"}},
               " option hcs12x\n");
    check_code(
        {
            {__LINE__, " movb 100,y,0,x", {}, "error: Source mode illegal for HCS12"},
            {__LINE__, " movb [d,x],0,x", {}, "error: Source mode illegal for HCS12"},
            {__LINE__, " movb 0,x,1000,y", {}, "error: Illegal destination operand"},
            {__LINE__, " movb #1,[d,y]", {}, "error: Illegal destination operand"},
        },
        "");
}

} // namespace
} // namespace torva
