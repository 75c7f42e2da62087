// Encoding classes: the assembler's own operand rules and what each class
// reports when it cannot encode. The bytes of every valid form are compared
// with GNU as in oracle_test.
#include "asm_fixture.h"

#include <gmock/gmock.h>

namespace torva {
namespace {

using test::AsmFixture;
using ::testing::HasSubstr;

class EncoderTest : public AsmFixture {};

TEST_F(EncoderTest, GeneralClassAndIndexedForms) {
    check_code({
        {__LINE__, " ldaa $40", {0xB6, 0x00, 0x40}, ""},
        {__LINE__, " ldaa >$40", {0xB6, 0x00, 0x40}, ""},
        {__LINE__, " LDAA 0,X", {0xA6, 0x00}, ""},
        {__LINE__, " ldaa #+7", {0x86, 0x07}, ""}, // unary plus, as unary minus
        {__LINE__, " leas +7,sp", {0x1B, 0x87}, ""},
        {__LINE__, " ldaa +2,+x", {0xA6, 0x21}, ""},
        {__LINE__, " ldaa fwd,x\nfwd equ 1", {0xA6, 0xE2, 0x00, 0x01}, ""}, // forward: 16-bit
        {__LINE__, " ldaa 9,x+", {}, "error: Syntax Error"},
        {__LINE__, " ldaa 1,pc+", {}, "error: Syntax Error"},
        {__LINE__, " ldaa [a,x]", {}, "error: Syntax Error"},
        {__LINE__, " ldaa 1,ccr", {}, "error: Syntax Error"},
        {__LINE__, " ldaa #1 junk", {0x86, 0x01}, ""}, // the rest is a comment
        {__LINE__, " ldaa #1,", {}, "error: Syntax Error"},
        {__LINE__, " ldaa #300", {0x86, 0x2C}, "error: Word sized operand/data truncated"},
        {__LINE__, " ldaa <$140", {0x96, 0x40}, "error: 8-bit direct-page offset truncated"},
        {__LINE__, " staa #1", {}, "error: Illegal Addressing Mode"},
        {__LINE__, " frob", {}, "error: Illegal mnemonic"},
        {__LINE__, " zzz", {}, "error: Illegal mnemonic"},
    });
}

TEST_F(EncoderTest, BranchesAndLoops) {
    check_code({
        {__LINE__, "here bra here", {0x20, 0xFE}, ""},
        {__LINE__, " bra *+200", {0x20, 0xC6}, "error: 8-bit displacement truncated"},
        {__LINE__, " bra #1", {}, "error: Illegal addressing mode"},
        {__LINE__, " lbra #1", {}, "error: Illegal Addressing Mode"}, // the general rule's case
        {__LINE__, " ibeq x *+3", {0x04, 0x85, 0x00}, ""},            // blank as separator
        {__LINE__, " tbne ccr,*", {}, "error: Syntax Error"},
        {__LINE__, " dbeq a,*+300", {0x04, 0x00, 0x29}, "error: 9-bit displacement truncated"},
    });
}

TEST_F(EncoderTest, OtherClasses) {
    check_code({
        {__LINE__,
         " clr <$40",
         {0x79, 0x00, 0x40},
         "warning: Direct Page is not allowed, substituting with extended mode"},
        {__LINE__, " clr #1", {}, "error: Illegal Addressing Mode"},
        {__LINE__, " orcc $10", {}, "error: Illegal addressing mode"},
        {__LINE__, " sex x,d", {}, "error: Illegal register combination"},
        {__LINE__, " tfr a", {}, "error: Bad Register(s)"},
        {__LINE__, " tfr a,q", {}, "error: Bad Register(s)"},
        {__LINE__, " trap #$20", {0x18, 0x20}, "warning: Unrecognized trap vector"},
        {__LINE__, " trap $30", {}, "error: Illegal Adressing Mode"},
        {__LINE__, " tbl 16,x", {}, "error: Illegal Adressing Mode"},
        {__LINE__, " leax $1000", {}, "error: Illegal Addressing Mode"},
        {__LINE__, " jmp <$40", {0x06, 0x00, 0x40}, ""},
        {__LINE__, " bset $40,#$01", {0x1C, 0x00, 0x40, 0x01}, ""},
        {__LINE__, " bset <$40,$01", {0x4C, 0x40, 0x01}, ""},
        {__LINE__, " bclr 0,x,$80", {0x0D, 0x00, 0x80}, ""},
        {__LINE__, " bset #1,#2", {}, "error: Illegal Addressing Mode"},
        {__LINE__, " bset $40", {}, "error: Bad operand syntax"},
        {__LINE__, " movb 100,x,$1000", {}, "error: Source mode illegal for HCS12"},
        {__LINE__, " movb #1,100,x", {}, "error: Illegal destination operand"},
        {__LINE__, " movb #1,#2", {}, "error: Illegal destination operand"},
        {__LINE__, " emaxd #1", {}, "error: Illegal Addressing Mode"},
    });
}

TEST_F(EncoderTest, ModelCheck) {
    check_code({
        {__LINE__, " addx #1", {}, "error: Invalid instruction for this model"},
        {__LINE__, " clrx", {}, "error: Invalid instruction for this model"},
        {__LINE__, " tstw $1000", {}, "error: Invalid instruction for this model"},
        {__LINE__, " btas <$40,#1", {}, "error: Invalid instruction for this model"},
    });
    check_code(
        {
            {__LINE__, " addx #1", {0x18, 0x8B, 0x00, 0x01}, ""},
            {__LINE__, " clrx", {0x18, 0x87}, ""},
            {__LINE__, " btas <$40,#1", {0x18, 0x35, 0x40, 0x01}, ""},
        },
        " option hcs12x\n");
    // The XGATE model has its own table: HC12 mnemonics are unknown there.
    check_code({{__LINE__, " ldaa #1", {}, "error: Illegal mnemonic"},
                {__LINE__, " nop", {0x01, 0x00}, ""}},
               " option xgate\n");
}

} // namespace
} // namespace torva
