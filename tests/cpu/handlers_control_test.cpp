// Branch conditions, loop primitives, bit instructions, subroutines,
// CALL/RTC, moves, transfers and the stack.
#include "cpu/conditions.h"
#include "register_cases.h"

namespace torva {
namespace {

using namespace ccr_bits;
using ControlTest = test::CpuFixture;
using test::run_cases;

// Each condition from the signed and unsigned comparison it stands for:
// after CMPA, the branch is taken when "A op M" holds.
TEST_F(ControlTest, BranchConditionsFollowTheComparison) {
    const int values[] = {0x00, 0x01, 0x7F, 0x80, 0x81, 0xFF};
    for (int a : values)
        for (int m : values) {
            SCOPED_TRACE(testing::Message() << a << " vs " << m);
            const int sa = int8_t(a), sm = int8_t(m);
            const bool expected[16] = {true,  false,  a > m,    a <= m,        a >= m,
                                       a < m, a != m, a == m,   false,         false,
                                       false, false,  sa >= sm, sa<sm, sa> sm, sa <= sm};
            for (int code = 0; code < 16; ++code) {
                if (code >= 8 && code <= 11) continue; // V and N alone: below
                cpu.regs = {0, uint8_t(a), 0, 0, 0, 0x3C80, 0};
                run({0x81, uint8_t(m)}); // CMPA #m
                const uint8_t ccr = cpu.regs.ccr;
                EXPECT_EQ(expected[code], branch_taken(uint8_t(code), ccr)) << code;
                // The short and the long branch act alike.
                run({uint8_t(0x20 + code), 0x10});
                EXPECT_EQ(expected[code] ? 0x2012 : 0x2002, cpu.regs.pc) << code;
                cpu.regs.ccr = ccr;
                run({0x18, uint8_t(0x20 + code), 0x01, 0x00});
                EXPECT_EQ(expected[code] ? 0x2104 : 0x2004, cpu.regs.pc) << code;
                EXPECT_EQ(expected[code] ? 4u : 3u, cycles);
            }
        }
    for (uint8_t ccr = 0; ccr < 16; ++ccr) {
        EXPECT_EQ((ccr & V) == 0, branch_taken(8, ccr));
        EXPECT_EQ((ccr & V) != 0, branch_taken(9, ccr));
        EXPECT_EQ((ccr & N) == 0, branch_taken(10, ccr));
        EXPECT_EQ((ccr & N) != 0, branch_taken(11, ccr));
    }
}

TEST_F(ControlTest, LoopPrimitives) {
    // Registers: {ccr, a, b, x, y, sp, pc}; the loop at $2000 targets $2013.
    run_cases(
        *this,
        {
            {__LINE__, {0x04, 0x25, 0x10}, {0, 0, 0, 1}, {0}}, // DBNE X
            {__LINE__,
             {0x04, 0x25, 0x10},
             {0, 0, 0, 0},
             {0, 0, 0, 0xFFFF, 0, 0x3C80, 0x2013}},                                        // DBNE X
            {__LINE__, {0x04, 0x80, 0x10}, {Z, 0xFF}, {Z, 0x00, 0, 0, 0, 0x3C80, 0x2013}}, // IBEQ A
            {__LINE__, {0x04, 0x01, 0x10}, {0, 0, 1}, {0, 0, 0, 0, 0, 0x3C80, 0x2013}},    // DBEQ B
            {__LINE__, {0x04, 0x44, 0x10}, {0, 0, 0}, {0, 0, 0, 0, 0, 0x3C80, 0x2013}},    // TBEQ D
            {__LINE__,
             {0x04, 0x76, 0xF0},
             {0, 0, 0, 0, 5},
             {0, 0, 0, 0, 5, 0x3C80, 0x1FF3}}, // TBNE Y back
            {__LINE__,
             {0x04, 0xA7, 0x10},
             {0, 0, 0, 0, 0, 0xFFFF},
             {0, 0, 0, 0, 0, 0, 0x2003}},                   // IBNE SP
            {__LINE__, {0x04, 0xC0, 0x10}, {0, 7}, {0, 7}}, // undefined
            {__LINE__, {0x04, 0x02, 0x10}, {0, 7}, {0, 7}}, // undefined
        });
}

TEST_F(ControlTest, BitInstructions) {
    struct Case {
        int line;
        std::vector<uint8_t> program;
        uint8_t byte_before, byte_after, ccr_after;
        uint16_t pc_after;
    };
    // The byte is at $0040 (direct), $1234 (extended) or 0,X with X = $0040.
    const Case cases[] = {
        {__LINE__, {0x4C, 0x40, 0x81}, 0x00, 0x81, N, 0x2003},             // BSET <$40
        {__LINE__, {0x1D, 0x12, 0x34, 0xFF}, 0x0F, 0x00, Z, 0x2004},       // BCLR $1234
        {__LINE__, {0x0E, 0x00, 0x03, 0x10}, 0x07, 0x07, V, 0x2014},       // BRSET taken
        {__LINE__, {0x0E, 0x00, 0x09, 0x10}, 0x07, 0x07, V, 0x2004},       // BRSET not taken
        {__LINE__, {0x0E, 0x00, 0x00, 0x10}, 0x00, 0x00, V, 0x2014},       // BRSET mask 0
        {__LINE__, {0x4F, 0x40, 0x00, 0x10}, 0xFF, 0xFF, V, 0x2014},       // BRCLR mask 0
        {__LINE__, {0x1F, 0x12, 0x34, 0x08, 0x10}, 0xF7, 0xF7, V, 0x2015}, // BRCLR taken
        {__LINE__, {0x1F, 0x12, 0x34, 0x18, 0x10}, 0xF7, 0xF7, V, 0x2005}, // BRCLR not taken
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        memory.bytes.fill(0);
        memory.bytes[0x0040] = memory.bytes[0x1234] = c.byte_before;
        cpu.regs = {V, 0, 0, 0x0040, 0, 0x3C80, 0};
        run(c.program);
        const uint16_t at = (c.program[0] & 0xF0) == 0x10 ? 0x1234 : 0x0040;
        EXPECT_EQ(c.byte_after, memory.bytes[at]);
        EXPECT_EQ(c.ccr_after, cpu.regs.ccr);
        EXPECT_EQ(c.pc_after, cpu.regs.pc);
    }
}

TEST_F(ControlTest, SubroutinesPushTheFollowingAddress) {
    cpu.regs.sp = 0x3C80;
    run({0x17, 0x40}); // JSR <$40
    EXPECT_EQ(0x0040, cpu.regs.pc);
    EXPECT_EQ(0x3C7E, cpu.regs.sp);
    EXPECT_EQ(0x20, memory.bytes[0x3C7E]);
    EXPECT_EQ(0x02, memory.bytes[0x3C7F]);
    run({0x3D}, 0x0040); // RTS
    EXPECT_EQ(0x2002, cpu.regs.pc);
    EXPECT_EQ(0x3C80, cpu.regs.sp);
    EXPECT_EQ(5u, cycles);

    run({0x07, 0x10}); // BSR
    EXPECT_EQ(0x2012, cpu.regs.pc);
    EXPECT_EQ(0x02, memory.bytes[0x3C7F]);
    cpu.regs.x = 0x3000;
    run({0x15, 0x02}); // JSR 2,X
    EXPECT_EQ(0x3002, cpu.regs.pc);
    EXPECT_EQ(0x3C7C, cpu.regs.sp);
    run({0x05, 0x31}); // JMP 2,X+
    EXPECT_EQ(0x3000, cpu.regs.pc);
    EXPECT_EQ(0x3002, cpu.regs.x);
}

TEST_F(ControlTest, CallAndReturnAcrossPages) {
    memory.ppage = 0x3C;
    run({0x4A, 0x80, 0x00, 0x31}); // CALL $8000,$31
    EXPECT_EQ(0x8000, cpu.regs.pc);
    EXPECT_EQ(0x31, memory.ppage);
    EXPECT_EQ(0x3C7D, cpu.regs.sp);
    EXPECT_EQ(0x3C, memory.bytes[0x3C7D]);
    EXPECT_EQ(0x20, memory.bytes[0x3C7E]);
    EXPECT_EQ(0x04, memory.bytes[0x3C7F]);
    EXPECT_EQ(7u, cycles);
    run({0x0A}, 0x8000); // RTC
    EXPECT_EQ(0x2004, cpu.regs.pc);
    EXPECT_EQ(0x3C, memory.ppage);
    EXPECT_EQ(0x3C80, cpu.regs.sp);

    // Indirect: no page byte, the page stays.
    cpu.regs.x = 0x3000;
    memory.load(0x3010, {0x90, 0x00});
    EXPECT_EQ(4u, run({0x4B, 0xE3, 0x00, 0x10})); // CALL [$10,X]
    EXPECT_EQ(0x9000, cpu.regs.pc);
    EXPECT_EQ(0x3C, memory.ppage);
}

TEST_F(ControlTest, Moves) {
    cpu.regs.x = 0x3000;
    cpu.regs.y = 0x3100;
    EXPECT_EQ(4u, run({0x18, 0x08, 0x31, 0x55})); // MOVB #$55,2,X+
    EXPECT_EQ(0x55, memory.bytes[0x3000]);
    EXPECT_EQ(0x3002, cpu.regs.x);

    memory.load(0x1234, {0xAB, 0xCD});
    EXPECT_EQ(5u, run({0x18, 0x01, 0x40, 0x12, 0x34})); // MOVW $1234,0,Y
    EXPECT_EQ(0xAB, memory.bytes[0x3100]);
    EXPECT_EQ(0xCD, memory.bytes[0x3101]);

    EXPECT_EQ(4u, run({0x18, 0x0A, 0x70, 0x3F})); // MOVB 1,Y+,1,X-
    EXPECT_EQ(0xAB, memory.bytes[0x3002]);
    EXPECT_EQ(0x3001, cpu.regs.x);
    EXPECT_EQ(0x3101, cpu.regs.y);

    EXPECT_EQ(6u, run({0x18, 0x03, 0x12, 0x34, 0x30, 0x00})); // MOVW #$1234,$3000
    EXPECT_EQ(0x12, memory.bytes[0x3000]);
    EXPECT_EQ(0x34, memory.bytes[0x3001]);
    EXPECT_EQ(6u, run({0x18, 0x0C, 0x12, 0x34, 0x30, 0x10})); // MOVB $1234,$3010
    EXPECT_EQ(0xAB, memory.bytes[0x3010]);
    EXPECT_EQ(5u, run({0x18, 0x0D, 0x00, 0x30, 0x20})); // MOVB 0,X,$3020
    EXPECT_EQ(0x34, memory.bytes[0x3020]);
}

TEST_F(ControlTest, TransfersAndExchanges) {
    // Registers: {ccr, a, b, x, y, sp, pc}.
    run_cases(
        *this,
        {
            {__LINE__, {0xB7, 0x05}, {0, 0x80}, {0, 0x80, 0, 0xFF80}},                  // SEX A,X
            {__LINE__, {0xB7, 0x51}, {0, 0, 0, 0x1234}, {0, 0, 0x34, 0x1234}},          // TFR X,B
            {__LINE__, {0xB7, 0x02}, {0, 0x5A}, {0x5A, 0x5A}},                          // TFR A,CCR
            {__LINE__, {0xB7, 0x85}, {0, 0x12, 0, 0x3456}, {0, 0x56, 0, 0x0012}},       // EXG A,X
            {__LINE__, {0xB7, 0xD0}, {0, 0x12, 0, 0x3456}, {0, 0x56, 0, 0xFF12}},       // EXG X,A
            {__LINE__, {0xB7, 0x84}, {0, 0x12, 0x34}, {0, 0x00, 0x12}},                 // EXG A,D
            {__LINE__, {0xB7, 0xC1}, {0, 0x12, 0x34}, {0, 0xFF, 0x34}},                 // EXG D,B
            {__LINE__, {0xB7, 0xC5}, {0, 0x12, 0x34, 0x5678}, {0, 0x56, 0x78, 0x1234}}, // EXG D,X
            {__LINE__, {0xB7, 0x03}, {0, 0x12}, {0, 0x12}},                             // no-op
        });
}

TEST_F(ControlTest, PushesAndPulls) {
    cpu.regs = {0xC5, 0x12, 0x34, 0x5678, 0x9ABC, 0x3C80, 0};
    run({0x3B});                           // PSHD
    EXPECT_EQ(0x12, memory.bytes[0x3C7E]); // A at the lower address
    EXPECT_EQ(0x34, memory.bytes[0x3C7F]);
    run({0x34}); // PSHX
    run({0x39}); // PSHC
    EXPECT_EQ(0x3C7B, cpu.regs.sp);
    cpu.regs = {0, 0, 0, 0, 0, 0x3C7B, 0};
    run({0x38}); // PULC
    run({0x31}); // PULY
    run({0x3A}); // PULD
    EXPECT_EQ("CCR=C5 A=12 B=34 X=0000 Y=5678 SP=3C80 PC=2001", test::describe(cpu.regs));
    EXPECT_EQ(2u, cycles);

    // Pushes wrap SP at 16 bits.
    cpu.regs.sp = 0;
    run({0x36}); // PSHA
    EXPECT_EQ(0xFFFF, cpu.regs.sp);
    EXPECT_EQ(0x12, memory.bytes[0xFFFF]);
}

} // namespace
} // namespace torva
