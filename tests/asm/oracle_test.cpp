// Every HC12/HCS12 mnemonic in every addressing form it allows, assembled by
// us and by GNU m68hc11-as -m68hcs12; the bytes must agree. Forms where the
// two disagree on purpose are checked separately, named for the case.
#include "asm/mnemonics.h"
#include "gnu_oracle.h"

#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <sstream>

namespace torva {
namespace {

using test::AsmFixture;
using test::OracleTest;
using test::Rows;

// Indexed operand forms with offsets at the edges of each size.
const char* const kIndexed[] = {
    "0,x",        "15,x",    "-16,x",    "16,y",   "-17,sp", "255,pc", "-256,x", "256,y",
    "-257,sp",    "$7fff,x", "-32768,y", "a,x",    "b,y",    "d,sp",   "a,pc",   "1,x+",
    "8,x-",       "1,+y",    "8,-sp",    "4,sp+",  ",x",     "[0,x]",  "[2,y]",  "[-1,sp]",
    "[$1234,pc]", "[d,x]",   "[d,y]",    "[d,sp]", "[d,pc]",
};
const char* const kIndexedPlain[] = {
    "0,x", "15,x", "-16,y", "16,sp", "-17,pc", "255,x", "-256,y", "256,sp", "$7fff,x",
    "a,x", "b,y",  "d,sp",  "1,x+",  "8,y-",   "1,+sp", "8,-x",   ",y",
};
const char* const kIndexed5[] = {"0,x",  "15,y", "-16,sp", "a,x", "b,y",
                                 "d,pc", "1,x+", "8,-y",   ",sp", "7,pc"};

// Rows for every mnemonic of the table: the HC12/HCS12 ones, or with
// `hcs12x_only` those reserved to the HCS12X model.
void add_all(Rows& rows, bool hcs12x_only = false) {
    for (const MnemonicEntry& e : hc12_mnemonics()) {
        if (bool(e.modes & kModeHcs12xOnly) != hcs12x_only) continue;
        if (std::string(e.name) == "wavr") continue; // unknown to GNU as; see below
        const std::string m = e.name;
        switch (e.encoding_class) {
        case EncodingClass::Inherent:
        case EncodingClass::InherentTwoByte: rows.add("\t" + m); break;
        case EncodingClass::General:
        case EncodingClass::Store:
            if (e.encoding_class == EncodingClass::General)
                rows.add("\t" + m + (e.extra == 1 ? " #$1234" : " #$12"));
            if (e.modes & kModeDirect) rows.add("\t" + m + " <$40");
            // GNU as writes GSTS extended as 18 6F; see OwnRulesWhereGnuDiffers.
            if (m != "gsts") rows.add("\t" + m + " $1234");
            for (const char* x : kIndexed)
                rows.add("\t" + m + " " + x);
            break;
        case EncodingClass::ShortBranch: {
            // Displacements at both limits.
            const std::string fwd = rows.next_label(), back = rows.next_label();
            rows.add("\t" + m + " " + fwd);
            rows.add("\trmb 127");
            rows.add(fwd + ":");
            rows.add(back + ":\trmb 126");
            rows.add("\t" + m + " " + back);
            break;
        }
        case EncodingClass::LongBranch: {
            const std::string back = rows.next_label(), fwd = rows.next_label();
            rows.add(back + ":\t" + m + " " + back);
            rows.add("\t" + m + " " + fwd);
            rows.add("\trmb 300");
            rows.add(fwd + ":");
            break;
        }
        case EncodingClass::Loop:
            for (const char* r : {"a", "b", "d", "x", "y", "sp"}) {
                const std::string fwd = rows.next_label(), back = rows.next_label();
                rows.add("\t" + m + " " + r + "," + fwd);
                rows.add("\trmb 255");
                rows.add(fwd + ":");
                rows.add(back + ":\trmb 253");
                rows.add("\t" + m + " " + r + "," + back);
            }
            break;
        case EncodingClass::Memory:
            rows.add("\t" + m + " $1234");
            for (const char* x : kIndexed)
                rows.add("\t" + m + " " + x);
            break;
        case EncodingClass::ImmediateOnly: rows.add("\t" + m + " #$fe"); break;
        case EncodingClass::Call:
            rows.add("\tcall $1234,5");
            for (const char* x : kIndexedPlain)
                rows.add(std::string("\tcall ") + x + ",$3c");
            for (const char* x : {"[d,x]", "[d,sp]", "[2,y]", "[$1000,pc]"})
                rows.add(std::string("\tcall ") + x);
            break;
        case EncodingClass::Page2Indexed: {
            if (m == "emacs") {
                rows.add("\temacs $1234");
                break;
            }
            const std::vector<const char*> forms =
                m == "etbl" ? std::vector<const char*>(std::begin(kIndexed5), std::end(kIndexed5))
                            : std::vector<const char*>(std::begin(kIndexed), std::end(kIndexed));
            for (const char* x : forms) {
                if (m == "etbl" && std::string(x) == "d,pc") continue;
                rows.add("\t" + m + " " + x);
            }
            break;
        }
        case EncodingClass::MoveByte:
        case EncodingClass::MoveWord: {
            const std::string imm = e.encoding_class == EncodingClass::MoveByte ? "#$12" : "#$1234";
            for (const std::string& src :
                 {imm, std::string("$1234"), std::string("2,x"), std::string("a,y"),
                  std::string("1,sp+"), std::string("-16,x")})
                for (const std::string& dst : {std::string("$2345"), std::string("15,y"),
                                               std::string("b,x"), std::string("8,-sp")})
                    rows.add("\t" + m + " " + src + "," + dst);
            break;
        }
        case EncodingClass::BitOp:
            rows.add("\t" + m + " <$40,#$01");
            rows.add("\t" + m + " $1234,#$80");
            for (const char* x : kIndexedPlain)
                rows.add("\t" + m + " " + x + ",#$55");
            break;
        case EncodingClass::BitBranch: {
            for (const std::string& x :
                 {std::string("<$40"), std::string("$1234"), std::string("3,x"),
                  std::string("100,y"), std::string("1000,sp"), std::string("a,x"),
                  std::string("2,x+")}) {
                const std::string back = rows.next_label(), fwd = rows.next_label();
                rows.add(back + ":\t" + m + " " + x + ",#$0f," + back);
                rows.add("\t" + m + " " + x + ",#$f0," + fwd);
                rows.add(fwd + ":");
            }
            break;
        }
        case EncodingClass::Transfer: {
            const char* regs[] = {"a", "b", "ccr", "d", "x", "y", "sp"};
            for (const char* a : regs)
                for (const char* b : regs) {
                    if (m == "sex") {
                        const std::string sa = a, sb = b;
                        const bool byte_src = sa == "a" || sa == "b" || sa == "ccr";
                        const bool wide_dst = sb == "d" || sb == "x" || sb == "y" || sb == "sp";
                        if (!(byte_src && wide_dst)) continue; // D,X and D,Y: see below
                    }
                    rows.add("\t" + m + " " + a + "," + b);
                }
            break;
        }
        case EncodingClass::LoadAddress:
            for (const char* x : kIndexedPlain)
                rows.add("\t" + m + " " + x);
            break;
        case EncodingClass::Jump:
            rows.add("\t" + m + " $1234");
            if (m == "jsr") rows.add("\tjsr <$40");
            for (const char* x : kIndexed)
                rows.add("\t" + m + " " + x);
            break;
        case EncodingClass::Table:
            for (const char* x : kIndexed5)
                rows.add("\ttbl " + std::string(x));
            break;
        case EncodingClass::Trap:
            for (const char* v : {"#$30", "#$39", "#$40", "#$ff"})
                rows.add("\ttrap " + std::string(v));
            break;
        default: break; // the XGATE classes have their own test
        }
    }
}

TEST_F(OracleTest, EveryFormMatchesGnuAs) {
    TORVA_REQUIRE_ORACLE(TORVA_GNU_AS_TOOLS);
    Rows rows;
    add_all(rows);
    compare(rows, "", "-m68hcs12");
}

// Other assemblers' syntax: the same rows with a blank after every comma
// (GNU as reads them so too) give the same bytes. The dialect's RMB writes
// no bytes, so the rows' spacers become zero bytes written out.
TEST_F(OracleTest, EveryFormWithBlanksAfterCommasMatchesGnuAs) {
    TORVA_REQUIRE_ORACLE(TORVA_GNU_AS_TOOLS);
    Rows rows;
    add_all(rows);
    for (std::string& line : rows.lines) {
        const size_t rmb = line.find("rmb ");
        if (rmb != std::string::npos) {
            const int count = std::stoi(line.substr(rmb + 4));
            line = line.substr(0, rmb) + "fcb 0";
            for (int i = 1; i < count; ++i)
                line += ",0";
        }
        std::string spaced;
        for (const char c : line) {
            spaced += c;
            if (c == ',') spaced += ' ';
        }
        line = spaced;
    }
    compare(rows, " option compat\n", "-m68hcs12");
}

// The forms the HCS12X model adds to instructions of both models: moves
// with every indexed form on either side, SEX D,X and SEX D,Y, and the
// transfers between the CPU12 registers (which keep their CPU12 postbytes).
void add_hcs12x_forms(Rows& rows) {
    const char* const sides[] = {"$1234",     "1000,x", "-100,y", "200,sp", "[d,x]",
                                 "[$100,sp]", "2,x+",   "15,y",   "a,x"};
    for (const char* m : {"movb", "movw"}) {
        rows.add(std::string("\t") + m + (m[3] == 'b' ? " #$12," : " #$1234,") + "-300,y");
        rows.add(std::string("\t") + m + (m[3] == 'b' ? " #$12," : " #$1234,") + "[2,x]");
        for (const std::string src : sides)
            for (const std::string dst : sides) {
                // GNU as refuses an indirect operand beside an accumulator
                // offset or an increment (the encoding is the same rule).
                auto indirect = [](const std::string& x) { return x[0] == '['; };
                auto special = [](const std::string& x) { return x == "a,x" || x == "2,x+"; };
                if ((indirect(src) && special(dst)) || (special(src) && indirect(dst))) continue;
                rows.add(std::string("\t") + m + " " + src + "," + dst);
            }
    }
    rows.add("\tsex d,x");
    rows.add("\tsex d,y");
    for (const char* m : {"tfr", "exg"})
        for (const char* a : {"a", "b", "ccr", "d", "x", "y", "sp"})
            for (const char* b : {"a", "b", "ccr", "d", "x", "y", "sp"})
                rows.add(std::string("\t") + m + " " + a + "," + b);
}

// The HCS12X-only rows (the model check aside) and forms against GNU's S12X
// mode.
TEST_F(OracleTest, Hcs12xRowsMatchGnuAs) {
    TORVA_REQUIRE_ORACLE(TORVA_GNU_AS_TOOLS);
    Rows rows;
    add_all(rows, true);
    add_hcs12x_forms(rows);
    compare(rows, " option hcs12x\n", "-mm9s12x");
}

TEST_F(OracleTest, OwnRulesWhereGnuDiffers) {
    check_own_rules({
        {__LINE__, " ldaa $40", {0xB6, 0x00, 0x40}, "no automatic direct page"},
        {__LINE__, " bset $1000,$01", {0x1C, 0x10, 0x00, 0x01}, "mask without #"},
        {__LINE__, " wavr", {0x3C}, "WAVR, which GNU as does not know"},
        {__LINE__,
         " option hcs12x\n gsts $1234",
         {0x18, 0x7F, 0x12, 0x34},
         "GSTS extended is 18 7F as in the CPU12X manual (GNU as writes 18 6F)"},
        {__LINE__, " sex d,x", {0xB7, 0x45}, "SEX D,X is accepted in the HCS12 model"},
        {__LINE__, " sex d,y", {0xB7, 0x46}, "SEX D,Y is accepted in the HCS12 model"},
        // PC-relative from the next instruction: $1000 + 2 + 3 = $1005.
        {__LINE__, "here ldaa 5+here,pcr", {0xA6, 0xC3}, "5-bit PCR form"},
        {__LINE__, "here ldaa here+200,pcr", {0xA6, 0xF8, 0xC5}, "9-bit PCR form"},
        {__LINE__, "here ldaa here+1000,pcr", {0xA6, 0xFA, 0x03, 0xE4}, "16-bit PCR form"},
        {__LINE__, " ldaa fwd,pcr\nfwd", {0xA6, 0xFA, 0x00, 0x00}, "forward PCR: 16-bit"},
    });
}

} // namespace
} // namespace torva
