// Arithmetic, logic, shifts and read-modify-write through whole
// instructions: the handler families pick the right ALU operation, mask,
// operand and destination.
#include "register_cases.h"

namespace torva {
namespace {

using namespace ccr_bits;
using ArithTest = test::CpuFixture;
using test::run_cases;

TEST_F(ArithTest, AccumulatorFamilies) {
    // Registers: {ccr, a, b, x, y, sp, pc}.
    run_cases(*this, {
                         {__LINE__, {0x8B, 0x01}, {0, 0x7F}, {H | N | V, 0x80}},       // ADDA
                         {__LINE__, {0xC9, 0x00}, {C, 0, 0xFF}, {H | Z | C, 0, 0x00}}, // ADCB
                         {__LINE__, {0x80, 0x01}, {H, 0x00}, {N | C, 0xFF}},           // SUBA
                         {__LINE__, {0x82, 0x00}, {H | C, 0x00}, {H | N | C, 0xFF}}, // SBCA keeps H
                         {__LINE__, {0x81, 0x42}, {N | V | C, 0x42}, {Z, 0x42}},     // CMPA
                         {__LINE__, {0x84, 0x0F}, {V | C, 0xF0}, {Z | C, 0x00}},     // ANDA
                         {__LINE__, {0xC5, 0x80}, {V, 0, 0x80}, {N, 0, 0x80}},       // BITB
                         {__LINE__, {0x8A, 0x80}, {V, 0x01}, {N | V, 0x81}},         // ORAA keeps V
                         {__LINE__, {0x88, 0xFF}, {V | C, 0x0F}, {N | C, 0xF0}},     // EORA
                         {__LINE__, {0x42}, {C, 0xFF}, {Z | C, 0x00}},               // INCA
                         {__LINE__, {0x53}, {0, 0, 0x80}, {V, 0, 0x7F}},             // DECB
                         {__LINE__, {0x48}, {0, 0xC0}, {N | C, 0x80}},               // ASLA
                         {__LINE__, {0x48}, {0, 0x40}, {N | V, 0x80}},               // ASLA
                         {__LINE__, {0x47}, {0, 0x81}, {N | C, 0xC0}},               // ASRA
                         {__LINE__, {0x44}, {V, 0x01}, {Z | V | C, 0x00}},           // LSRA
                         {__LINE__, {0x46}, {C, 0x02}, {N, 0x81}},                   // RORA
                         {__LINE__, {0x55}, {C, 0, 0x80}, {V | C, 0, 0x01}},         // ROLB
                         {__LINE__, {0x40}, {0, 0x80}, {N | V | C, 0x80}},           // NEGA $80
                         {__LINE__, {0x40}, {C, 0x00}, {Z, 0x00}},                   // NEGA 0
                         {__LINE__, {0x41}, {V, 0x0F}, {N | C, 0xF0}},               // COMA
                         {__LINE__, {0x87}, {N | V | C | H, 0x55}, {H | Z, 0x00}},   // CLRA
                         {__LINE__, {0xD7}, {V | C, 0, 0x80}, {N, 0, 0x80}},         // TSTB
                         {__LINE__, {0x18, 0x06}, {0, 0x19, 0x28}, {H, 0x41, 0x28}}, // ABA
                         {__LINE__, {0x18, 0x07}, {H, 0x41}, {H, 0x47}},             // DAA
                         {__LINE__, {0x18, 0x07}, {0, 0x9A}, {Z | C, 0x00}},         // DAA carry
                         {__LINE__, {0x18, 0x16}, {H, 0x10, 0x20}, {N | C, 0xF0, 0x20}}, // SBA
                         {__LINE__, {0x18, 0x17}, {H, 0x10, 0x10}, {Z, 0x10, 0x10}},     // CBA
                         {__LINE__, {0x18, 0x0E}, {V, 0x80, 0}, {N, 0x80, 0x80}},        // TAB
                         {__LINE__, {0x10, 0xFE}, {0xFF}, {0xFE}},                       // ANDCC
                         {__LINE__, {0x14, 0x10}, {0}, {I}},                             // ORCC
                     });
}

TEST_F(ArithTest, SixteenBitFamilies) {
    run_cases(
        *this,
        {
            {__LINE__, {0xC3, 0x00, 0x01}, {0, 0x7F, 0xFF}, {N | V, 0x80, 0x00}}, // ADDD
            {__LINE__, {0x83, 0x00, 0x01}, {0, 0, 0}, {N | C, 0xFF, 0xFF}},       // SUBD
            {__LINE__, {0x8E, 0x12, 0x34}, {0, 0, 0, 0x1234}, {Z, 0, 0, 0x1234}}, // CPX
            {__LINE__,
             {0x8F, 0x80, 0x00},
             {0, 0, 0, 0, 0, 0x7FFF},
             {N | V | C, 0, 0, 0, 0, 0x7FFF, 0x2003}},                      // CPS
            {__LINE__, {0x59}, {0, 0x80, 0x01}, {V | C, 0x00, 0x02}},       // ASLD
            {__LINE__, {0x49}, {N, 0x00, 0x01}, {Z | V | C, 0x00, 0x00}},   // LSRD: V = C
            {__LINE__, {0x08}, {C, 0, 0, 0xFFFF}, {Z | C, 0, 0, 0x0000}},   // INX: Z only
            {__LINE__, {0x03}, {Z, 0, 0, 0, 0x0000}, {0, 0, 0, 0, 0xFFFF}}, // DEY
            {__LINE__, {0xCC, 0x80, 0x00}, {V | C}, {N | C, 0x80, 0x00}},   // LDD
            {__LINE__, {0x1A, 0xE5}, {0xFF, 0, 0x10, 0x1000}, {0xFF, 0, 0x10, 0x1010}}, // LEAX B,X
        });
}

TEST_F(ArithTest, ReadModifyWriteUpdatesMemoryAndMovesTheIndexOnce) {
    struct Case {
        int line;
        std::vector<uint8_t> program;
        uint8_t before, after, ccr_after;
        uint16_t x_after;
        uint32_t cycles;
    };
    // X = $3000; the operand is at $3000 (post-increment) or $3002 (extended).
    const Case cases[] = {
        {__LINE__, {0x62, 0x30}, 0xFF, 0x00, Z, 0x3001, 3},               // INC 1,X+
        {__LINE__, {0x63, 0x3F}, 0x00, 0xFF, N, 0x2FFF, 3},               // DEC 1,X-
        {__LINE__, {0x68, 0x31}, 0x40, 0x80, N | V, 0x3002, 3},           // ASL 2,X+
        {__LINE__, {0x74, 0x30, 0x02}, 0x03, 0x01, C, 0x3000, 4},         // LSR $3002
        {__LINE__, {0x70, 0x30, 0x02}, 0x01, 0xFF, N | C, 0x3000, 4},     // NEG $3002
        {__LINE__, {0x71, 0x30, 0x02}, 0x00, 0xFF, N | C, 0x3000, 4},     // COM $3002
        {__LINE__, {0x69, 0x30}, 0x55, 0x00, Z, 0x3001, 3},               // CLR 1,X+
        {__LINE__, {0xF7, 0x30, 0x02}, 0x80, 0x80, N, 0x3000, 3},         // TST $3002
        {__LINE__, {0x18, 0x1C, 0x30}, 0x90, 0x90, N | V | C, 0x3001, 5}, // MAXM 1,X+
        {__LINE__, {0x18, 0x1D, 0x30}, 0x90, 0x10, N | V | C, 0x3001, 5}, // MINM 1,X+
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        memory.bytes.fill(0);
        memory.bytes[0x3000] = memory.bytes[0x3002] = c.before;
        cpu.regs = {0, 0x10, 0, 0x3000, 0, 0x3C80, 0};
        run(c.program);
        const uint16_t at = c.program[0] >= 0x70 && c.program[0] != 0x18 ? 0x3002 : 0x3000;
        EXPECT_EQ(c.after, memory.bytes[at]);
        EXPECT_EQ(c.ccr_after, cpu.regs.ccr);
        EXPECT_EQ(c.x_after, cpu.regs.x);
        EXPECT_EQ(c.cycles, cycles);
    }
}

TEST_F(ArithTest, MinimumAndMaximumInRegisters) {
    const auto prepare = [](test::CpuFixture& f) { f.memory.load(0x3000, {0x90, 0x12, 0x34}); };
    run_cases(*this,
              {
                  {__LINE__,
                   {0x18, 0x18, 0x00},
                   {0, 0x10, 0, 0x3000},
                   {N | V | C, 0x90, 0, 0x3000}}, // MAXA
                  {__LINE__,
                   {0x18, 0x19, 0x00},
                   {0, 0x10, 0, 0x3000},
                   {N | V | C, 0x10, 0, 0x3000}}, // MINA
                  {__LINE__,
                   {0x18, 0x1A, 0x01},
                   {0, 0x12, 0x35, 0x3000},
                   {0, 0x12, 0x35, 0x3000}}, // EMAXD
                  {__LINE__,
                   {0x18, 0x1B, 0x01},
                   {0, 0x12, 0x35, 0x3000},
                   {0, 0x12, 0x34, 0x3000}}, // EMIND
              },
              prepare);
}

} // namespace
} // namespace torva
