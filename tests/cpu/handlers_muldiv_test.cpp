// Multiplication and division: results against wide arithmetic and the
// flag rules of each instruction, division by zero and overflow.
#include "register_cases.h"

#include <random>

namespace torva {
namespace {

using namespace ccr_bits;
using MulDivTest = test::CpuFixture;
using test::run_cases;

TEST_F(MulDivTest, EdgeCases) {
    // Registers: {ccr, a, b, x, y, sp, pc}.
    run_cases(
        *this,
        {
            {__LINE__, {0x12}, {0, 0x10, 0x08}, {C, 0x00, 0x80}}, // MUL: C = bit 7
            {__LINE__, {0x12}, {0, 0xFF, 0xFF}, {0, 0xFE, 0x01}}, // MUL
            {__LINE__, {0x13}, {0, 0xFF, 0xFF, 0, 0xFFFF}, {N, 0x00, 0x01, 0, 0xFFFE}}, // EMUL
            {__LINE__, {0x13}, {N | C, 0, 0, 0, 0x1234}, {Z}},                          // EMUL zero
            {__LINE__,
             {0x18, 0x13},
             {0, 0xFF, 0xFF, 0, 0x0002},
             {N | C, 0xFF, 0xFE, 0, 0xFFFF}}, // EMULS -1*2
            // EDIV: Y:D / X; quotient in Y, remainder in D.
            {__LINE__, {0x11}, {N, 0x00, 0x07, 0x0002, 0x0001}, {N, 0x00, 0x01, 0x0002, 0x8003}},
            {__LINE__, {0x11}, {Z | V, 0x12, 0x34, 0, 0x5678}, {C, 0x12, 0x34, 0, 0x5678}}, // by 0
            // EDIVS: -7 / 2 = -3 remainder -1; overflow sets V.
            {__LINE__,
             {0x18, 0x14},
             {0, 0xFF, 0xF9, 0x0002, 0xFFFF},
             {0, 0xFF, 0xFF, 0x0002, 0xFFFD}},
            {__LINE__,
             {0x18, 0x14},
             {0, 0x00, 0x00, 0x0001, 0x0001},
             {V, 0x00, 0x00, 0x0001, 0x0000}},
            {__LINE__, {0x18, 0x14}, {V | Z, 1, 2, 0, 3}, {C, 1, 2, 0, 3}}, // by 0
            // IDIV: D / X; quotient in X, remainder in D.
            {__LINE__, {0x18, 0x10}, {V | C, 0x00, 0x07, 0x0002}, {0, 0x00, 0x01, 0x0003}},
            {__LINE__, {0x18, 0x10}, {Z, 0x12, 0x34, 0}, {C, 0x00, 0x00, 0xFFFF}}, // by 0
            // IDIVS: only $8000 / $FFFF overflows; by zero leaves the registers.
            {__LINE__, {0x18, 0x15}, {0, 0xFF, 0xF9, 0x0002}, {0, 0xFF, 0xFF, 0xFFFD}},
            {__LINE__, {0x18, 0x15}, {0, 0x80, 0x00, 0xFFFF}, {V, 0x00, 0x00, 0x8000}},
            {__LINE__, {0x18, 0x15}, {Z | V, 0x12, 0x34, 0}, {C, 0x12, 0x34}},
            // FDIV: D * $10000 / X.
            {__LINE__, {0x18, 0x11}, {0, 0x00, 0x01, 0x0002}, {0, 0x00, 0x00, 0x8000}},
            {__LINE__, {0x18, 0x11}, {0, 0x00, 0x02, 0x0002}, {V, 0x00, 0x00, 0xFFFF}},
            {__LINE__, {0x18, 0x11}, {0, 0x00, 0x02, 0x0000}, {V | C, 0x00, 0x00, 0xFFFF}},
        });
}

TEST_F(MulDivTest, RandomOperandsAgainstWideArithmetic) {
    std::mt19937 rng(3);
    for (int i = 0; i < 2000; ++i) {
        const uint16_t d = uint16_t(rng()), x = uint16_t(rng() | 1), y = uint16_t(rng());
        SCOPED_TRACE(testing::Message() << d << " " << x << " " << y);
        cpu.regs = {0, 0, 0, x, y, 0x3C80, 0};
        cpu.regs.set_d(d);
        run({0x13}); // EMUL
        EXPECT_EQ(uint32_t(d) * y, uint32_t(cpu.regs.y) << 16 | cpu.regs.d());

        cpu.regs = {0, 0, 0, x, y, 0x3C80, 0};
        cpu.regs.set_d(d);
        run({0x18, 0x13}); // EMULS
        EXPECT_EQ(int32_t(int16_t(d)) * int16_t(y),
                  int32_t(uint32_t(cpu.regs.y) << 16 | cpu.regs.d()));

        cpu.regs = {0, 0, 0, x, y, 0x3C80, 0};
        cpu.regs.set_d(d);
        run({0x18, 0x10}); // IDIV
        EXPECT_EQ(d / x, cpu.regs.x);
        EXPECT_EQ(d % x, cpu.regs.d());

        cpu.regs = {0, 0, 0, x, y, 0x3C80, 0};
        cpu.regs.set_d(d);
        run({0x11}); // EDIV, quotient kept to 16 bits
        const uint32_t dividend = uint32_t(y) << 16 | d;
        EXPECT_EQ(uint16_t(dividend / x), cpu.regs.y);
        EXPECT_EQ(dividend % x, cpu.regs.d());
    }
}

} // namespace
} // namespace torva
