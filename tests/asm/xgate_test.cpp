// The XGATE model: encodings the oracle cannot check, every message of the
// XGATE encoders, register names, and switching between the models.
#include "asm_fixture.h"

#include <gmock/gmock.h>

namespace torva {
namespace {

using test::AsmFixture;
using ::testing::HasSubstr;
using ::testing::Not;

class XgateTest : public AsmFixture {
protected:
    void check(const std::vector<CodeCase>& cases,
               const std::string& prologue = " option xgate\n") {
        check_code(cases, prologue);
    }
};

TEST_F(XgateTest, FormsAndOffsets) {
    check({
        // Immediate-16 pairs: low-byte instruction first, both with Rd.
        {__LINE__, " and r1,#$1234", {0x81, 0x34, 0x89, 0x12}, ""},
        {__LINE__, " ldw r7,#-1", {0xF7, 0xFF, 0xFF, 0xFF}, ""},
        {__LINE__, " cmp r2,#$0100", {0xD2, 0x00, 0xDA, 0x01}, ""},
        // Branch offsets in words from the next instruction.
        {__LINE__, " bra *", {0x3F, 0xFF}, ""},
        {__LINE__, " beq *+2", {0x26, 0x00}, ""},
        {__LINE__, " bne *+512", {0x24, 0xFF}, ""},
        {__LINE__, " bne *-510", {0x25, 0x00}, ""},
        {__LINE__, " bra *+1024", {0x3D, 0xFF}, ""},
        {__LINE__, " bra *-1022", {0x3E, 0x00}, ""},
        // NEG with one register negates it in place.
        {__LINE__, " neg r5", {0x1D, 0x14}, ""},
        // Any case, and comments after instructions without operands.
        {__LINE__, " LDL R3,#$7F", {0xF3, 0x7F}, ""},
        {__LINE__, " rts ;back", {0x02, 0x00}, ""},
        {__LINE__, " sif ;all", {0x03, 0x00}, ""},
        {__LINE__, " ldb r1,(r2,#(1+2))", {0x41, 0x43}, ""},
        {__LINE__, " bra (*+4)", {0x3C, 0x01}, ""},
    });
}

TEST_F(XgateTest, Messages) {
    check({
        {__LINE__, " ldl #1,r1", {}, "error: Register expected"},
        {__LINE__, " add r1,r2,#3", {}, "error: Register expected"},
        {__LINE__, " cpc r1,#2", {}, "error: Register expected"},
        {__LINE__, " jal #2", {}, "error: Register expected"},
        {__LINE__, " ldl r1,r2", {}, "error: Immediate operand expected"},
        {__LINE__, " ldh r1,$10", {}, "error: Immediate operand expected"},
        {__LINE__, " bra $1001", {}, "error: Branch to misaligned instruction"},
        {__LINE__, " ldl r1,#256", {0xF1, 0x00}, "warning: 8-bit immediate value truncated"},
        {__LINE__, " ldl r1,#-129", {0xF1, 0x7F}, "warning: 8-bit immediate value truncated"},
        {__LINE__, " ldl r1,#-128", {0xF1, 0x80}, ""},
        {__LINE__, " bne *+514", {0x25, 0x00}, "warning: Branch to long"},
        {__LINE__, " bra *-1024", {0x3D, 0xFF}, "warning: Branch to long"},
        {__LINE__, " asr r1,#16", {0x09, 0x09}, "warning: Operand out of range, truncated"},
        {__LINE__, " asr r1,#-16", {0x09, 0x09}, ""},
        {__LINE__, " csem #8", {0x00, 0xF0}, "warning: Operand out of range, truncated"},
        {__LINE__, " stw r1,(r2,#32)", {0x59, 0x40}, "warning: Operand out of range, truncated"},
        {__LINE__,
         " ldw r1,#$10000",
         {0xF1, 0x00, 0xF9, 0x00},
         "warning: Operand out of range, truncated"},
        {__LINE__, " tfr r1,r2", {}, "error: Invalid register"},
        {__LINE__, " tfr pc,r2", {}, "error: Invalid register"},
        {__LINE__, " tfr ccr,pc", {}, "error: Invalid register"},
        {__LINE__, " mov r1", {}, "error: Comma expected"},
        {__LINE__, " add r1,r2;r3", {}, "error: Comma expected"},
        {__LINE__, " ldb r1,(r2#1)", {}, "error: Comma expected"},
        {__LINE__, " ldb r1,(#1,r2)", {}, "error: Illegal character"},
        {__LINE__, " add r1,r2,r3,r4", {}, "error: Extra characters in operand"},
        {__LINE__, " tst r1,r2", {}, "error: Extra characters in operand"},
        {__LINE__, " ldl r1,#1x", {}, "Illegal decimal digit"},
        {__LINE__, " add r1,", {}, "error: Syntax error"},
        {__LINE__, " ldb r1,(r2,#1", {}, "error: Syntax error"},
        {__LINE__, " add r1,$1234", {}, "error: Constant expected"},
        // No low/high pair exists for these.
        {__LINE__, " adc r1,#1", {}, "error: Illegal adressing mode"},
        {__LINE__, " bfinsx r1,#1", {}, "error: Illegal adressing mode"},
        {__LINE__, " bffo r1,#1", {}, "error: Illegal adressing mode"},
        {__LINE__, " ldb r1,#1", {}, "error: Illegal adressing mode"},
        {__LINE__, " bra #2", {}, "error: Illegal adressing mode"},
        {__LINE__, " com r1", {}, "error: Illegal mnemonic"},
    });
}

// An empty operand field reads alike in every class that needs an operand.
TEST_F(XgateTest, EmptyOperandIsASyntaxError) {
    for (const char* mnemonic : {"add", "ldl", "ldb", "lsl", "cmp", "mov", "ldw", "bra", "csem",
                                 "tfr", "jal", "neg", "tst", "sex"}) {
        SCOPED_TRACE(mnemonic);
        const test::AsmRun r = assemble(std::string(" option xgate\n ") + mnemonic + "\n");
        EXPECT_THAT(r.output, ::testing::ElementsAre("\"prog.asm\" (2): error: Syntax error",
                                                     "-- 1 error(s)."));
    }
}

// A forward branch found misaligned only in pass 2 keeps its room, so the
// labels after it do not move between the passes.
TEST_F(XgateTest, MisalignedForwardBranchKeepsLabelsInPlace) {
    const test::AsmRun r =
        assemble(" option xgate\n org $1000\n bra odd\n fcb 1\nodd fcb 2\nafter bra after\n");
    EXPECT_THAT(r.messages(), HasSubstr("(3): error: Branch to misaligned instruction"));
    EXPECT_THAT(r.messages(), Not(HasSubstr("Phase error")));
    EXPECT_THAT(r.messages(), HasSubstr("-- 1 error(s)."));
    EXPECT_THAT(r.listing, HasSubstr("001004 3FFF"));
}

// Register names belong to their models; elsewhere they are plain symbols.
TEST_F(XgateTest, RegisterNamesPerModel) {
    check({
        {__LINE__, "x equ 3\n ldl r1,#x", {0xF1, 0x03}, ""},
        {__LINE__, "sp equ 4\n ldl r1,#sp+1", {0xF1, 0x05}, ""},
        {__LINE__, " ldl r1,#r2", {}, "Illegal use of reserved word"},
        {__LINE__, " ldl r1,#ccr", {}, "Illegal use of reserved word"},
        {__LINE__, " ldl r1,#pc", {}, "Illegal use of reserved word"},
        {__LINE__, "r8 equ 8\n ldl r1,#r8", {0xF1, 0x08}, ""},
    });
    check(
        {
            {__LINE__, "r1 equ 7\n ldaa #r1", {0x86, 0x07}, ""},
            {__LINE__, "xh equ 5\n ldaa #xh", {0x86, 0x05}, ""},
            {__LINE__, "ccrw equ 6\n ldaa #ccrw", {0x86, 0x06}, ""},
            {__LINE__, " ldaa #x", {}, "Illegal use of reserved word"},
        },
        "");
    check(
        {
            {__LINE__, " ldaa #xl+1", {}, "Illegal use of reserved word"},
            {__LINE__, " ldaa #ccrh", {}, "Illegal use of reserved word"},
            {__LINE__, "r1 equ 7\n ldaa #r1", {0x86, 0x07}, ""},
        },
        " option hcs12x\n");
}

// OPTION lines switch the instruction set for the lines after them, in both
// passes alike: forward references across the switches settle without phase
// errors, and pass 2 starts again in the HCS12 model.
TEST_F(XgateTest, ModelSwitchingWithinOneSource) {
    const test::AsmRun r = assemble(" org $1000\n"
                                    " ldaa #1\n"   // HCS12 (again in pass 2)
                                    " jmp xcode\n" // forward, across a switch
                                    " fcb 0\n"
                                    " option xgate\n"
                                    "xcode ldw r1,#last\n"
                                    " bra back\n" // forward too
                                    "back option hcs12x\n"
                                    " sex d,x\n"
                                    " option hcs12\n"
                                    " sex d,x\n"
                                    "last option xgate\n"
                                    " nop\n");
    EXPECT_EQ(1, r.result) << r.messages();
    const std::vector<uint8_t> expected = {
        0x86, 0x01,             // ldaa #1
        0x06, 0x10, 0x06,       // jmp $1006
        0x00,                   // fcb 0
        0xF1, 0x10, 0xF9, 0x10, // ldw r1,#$1010
        0x3C, 0x00,             // bra back ($100B)
        0xB7, 0x4D,             // HCS12X: D sign-extended into X
        0xB7, 0x45,             // HCS12: plain transfer code
        0x01, 0x00,             // XGATE nop
    };
    EXPECT_EQ(expected, r.bytes());
    // A second run in the same session starts in the HCS12 model again.
    const test::AsmRun again = assemble(" nop\n");
    EXPECT_EQ(std::vector<uint8_t>{0xA7}, again.bytes());
}

} // namespace
} // namespace torva
