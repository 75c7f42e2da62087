// Every XGATE mnemonic in every operand form it allows, assembled by us and
// by GNU m68hc11-as -mm9s12xg; the bytes must agree. Where the two differ on
// purpose, the case is checked on its own and named.
#include "asm/xgate_mnemonics.h"
#include "gnu_oracle.h"

namespace torva {
namespace {

using test::OracleTest;
using test::Rows;

// Branches to the farthest targets either way: 9-bit word offsets, 10-bit
// for BRA.
void add_branch(Rows& rows, const std::string& m) {
    const int reach = m == "bra" ? 1024 : 512; // bytes
    const std::string fwd = rows.next_label(), back = rows.next_label();
    rows.add("\t" + m + " " + fwd);
    rows.add("\trmb " + std::to_string(reach - 2));
    rows.add(fwd + ":");
    rows.add(back + ":\trmb " + std::to_string(reach - 2));
    rows.add("\t" + m + " " + back);
    const std::string self = rows.next_label();
    rows.add(self + ":\t" + m + " " + self);
}

void add_xgate(Rows& rows) {
    for (const MnemonicEntry& e : xgate_mnemonics()) {
        const std::string m = std::string("\t") + e.name + " ";
        const bool imm = e.modes & kXModeImmediate;
        switch (e.encoding_class) {
        case EncodingClass::XInherent: rows.add(m); break;
        case EncodingClass::XImmediate8:
            for (const char* v : {"r0,#0", "r1,#$5a", "r7,#$ff", "r4,#127"})
                rows.add(m + v);
            break;
        case EncodingClass::XTriadic:
            rows.add(m + "r1,r2,r3");
            rows.add(m + "r7,r0,r5");
            rows.add(m + "r6,r7,r7");
            if (imm) {
                rows.add(m + "r3,#$1234");
                rows.add(m + "r5,#$ff00");
            }
            break;
        case EncodingClass::XBranch: add_branch(rows, e.name); break;
        case EncodingClass::XShift:
            rows.add(m + "r1,r2");
            rows.add(m + "r7,r6");
            if (imm) {
                rows.add(m + "r3,#0");
                rows.add(m + "r4,#15");
                rows.add(m + "r5,#9");
            }
            break;
        case EncodingClass::XSif:
            rows.add(m);
            rows.add(m + "r5");
            break;
        case EncodingClass::XSemaphoreOrSingle:
            if (imm) {
                rows.add(m + "#0");
                rows.add(m + "#7");
            }
            rows.add(m + "r3");
            rows.add(m + "r6");
            break;
        case EncodingClass::XMemory:
        case EncodingClass::XMemoryImmediate:
            for (const char* v : {"r1,(r2,#0)", "r3,(r4,#31)", "r7,(r6,#17)", "r2,(r4,r5)",
                                  "r6,(r7,r1+)", "r1,(r2,-r3)", "r5,(r0,r7)"})
                rows.add(m + v);
            if (imm) rows.add(m + "r3,#$1234");
            break;
        case EncodingClass::XTransfer:
            rows.add(m + "r1,ccr");
            rows.add(m + "r7,pc");
            break;
        case EncodingClass::XAlias: break; // below
        default: break;                    // an XGATE table has XGATE classes only
        }
    }
    for (const char* v :
         {"cmp r1,r2", "cmp r3,#$1234", "cpc r4,r5", "mov r6,r7", "neg r1", "neg r2,r3", "tst r4"})
        rows.add(std::string("\t") + v);
}

TEST_F(OracleTest, EveryXgateFormMatchesGnuAs) {
    TORVA_REQUIRE_ORACLE(TORVA_GNU_AS_TOOLS);
    Rows rows;
    add_xgate(rows);
    compare(rows, " option xgate\n", "-mm9s12xg");
}

// XGATE and CPU12X encodings where GNU as differs or has no form at all.
TEST_F(OracleTest, XgateAndHcs12xRulesWhereGnuDiffers) {
    check_own_rules({
        {__LINE__, " option xgate\n tfr ccr,r2", {0x02, 0xF9}, "TFR CCR,Rs (GNU as writes 02 F8)"},
        {__LINE__,
         " option xgate\n ldb r1,(r2,#-1)",
         {0x41, 0x5F},
         "a negative 5-bit offset keeps its low bits (GNU as refuses it)"},
        {__LINE__, " option hcs12x\n tfr xh,a", {0xB7, 0x58}, "XH, unknown to GNU as"},
        {__LINE__, " option hcs12x\n exg b,spl", {0xB7, 0x9F}, "SPL, unknown to GNU as"},
        {__LINE__, " option hcs12x\n tfr d,ccrw", {0xB7, 0x4A}, "CCRW, unknown to GNU as"},
        {__LINE__, " option hcs12x\n tfr ccrw,sp", {0xB7, 0x2F}, "CCRW, unknown to GNU as"},
        {__LINE__, " option hcs12x\n tfr a,ccrh", {0xB7, 0x0A}, "CCRH, unknown to GNU as"},
        {__LINE__,
         " option hcs12x\n movb [d,x],a,y",
         {0x18, 0x0A, 0xE7, 0xEC},
         "an indirect source beside an accumulator offset (GNU as refuses the pair)"},
        {__LINE__,
         " option hcs12x\n movw 2,x+,[4,sp]",
         {0x18, 0x02, 0x31, 0xF3, 0x00, 0x04},
         "an increment beside an indirect destination (GNU as refuses the pair)"},
    });
}

} // namespace
} // namespace torva
