// Multiplication and division: MUL, EMUL, EMULS, EDIV, EDIVS, IDIV, IDIVS
// and FDIV with their own flag rules.
#include "cpu/cpu.h"

namespace torva {

using namespace ccr_bits;

namespace {
// Replaces the bits of mask in ccr by those of flags.
uint8_t merge(uint8_t ccr, uint8_t mask, uint8_t flags) {
    return uint8_t((ccr & ~mask) | (flags & mask));
}
} // namespace

void Cpu::op_multiply(const OpcodeEntry& e, bool execute) {
    trace(e.mnemonic);
    if (!execute) return;
    if (e.family == Family::Mul) {
        const uint16_t product = uint16_t(regs.a * regs.b);
        regs.set_d(product);
        regs.ccr = merge(regs.ccr, C, (product & 0x80) ? C : 0);
    } else {
        const uint32_t product =
            e.family == Family::Emul
                ? uint32_t(regs.d()) * regs.y
                : uint32_t(int32_t(int16_t(regs.d())) * int32_t(int16_t(regs.y)));
        regs.y = uint16_t(product >> 16);
        regs.set_d(uint16_t(product));
        const uint8_t f = ((product & 0x80000000u) ? N : 0) | (product == 0 ? Z : 0) |
                          ((product & 0x8000) ? C : 0);
        regs.ccr = merge(regs.ccr, N | Z | C, f);
    }
    ctx.cycles += 2;
}

void Cpu::op_divide(const OpcodeEntry& e, bool execute) {
    trace(e.mnemonic);
    if (!execute) return;
    const uint16_t d = regs.d();
    const uint16_t x = regs.x;
    uint32_t cycles = 10;
    switch (e.family) {
    case Family::Ediv: {
        if (x == 0) {
            regs.ccr = merge(regs.ccr, Z | V | C, C);
            break;
        }
        // The quotient is kept to 16 bits; Z looks at all of it.
        const uint32_t dividend = uint32_t(regs.y) << 16 | d;
        const uint32_t quotient = dividend / x;
        regs.y = uint16_t(quotient);
        regs.set_d(uint16_t(dividend % x));
        regs.ccr = merge(regs.ccr, Z | V | C, quotient == 0 ? Z : 0);
        break;
    }
    case Family::Edivs: {
        cycles = 9;
        if (x == 0) {
            regs.ccr = merge(regs.ccr, Z | V | C, C);
            break;
        }
        // Y:D as it stands is the signed dividend; V when the quotient
        // does not fit in 16 signed bits.
        const int64_t dividend = int32_t(uint32_t(regs.y) << 16 | d);
        const int64_t divisor = int16_t(x);
        const int64_t quotient = dividend / divisor;
        regs.y = uint16_t(quotient);
        regs.set_d(uint16_t(dividend % divisor));
        const bool overflow = quotient < -32768 || quotient > 32767;
        regs.ccr = merge(regs.ccr, Z | V | C, (quotient == 0 ? Z : 0) | (overflow ? V : 0));
        break;
    }
    case Family::Idiv:
        if (x == 0) {
            regs.x = 0xFFFF;
            regs.set_d(0);
            regs.ccr = merge(regs.ccr, Z | V | C, C);
            break;
        }
        regs.x = d / x;
        regs.set_d(d % x);
        regs.ccr = merge(regs.ccr, Z | V | C, regs.x == 0 ? Z : 0);
        break;
    case Family::Idivs: {
        if (x == 0) {
            regs.ccr = merge(regs.ccr, Z | V | C, C);
            break;
        }
        // Only $8000 / $FFFF overflows: +32768 does not fit.
        const int32_t quotient = int32_t(int16_t(d)) / int16_t(x);
        const int32_t remainder = int32_t(int16_t(d)) % int16_t(x);
        regs.x = uint16_t(quotient);
        regs.set_d(uint16_t(remainder));
        const bool overflow = quotient > 32767;
        regs.ccr = merge(regs.ccr, Z | V | C, (quotient == 0 ? Z : 0) | (overflow ? V : 0));
        break;
    }
    default: { // FDIV: D / X as a binary fraction
        const bool by_zero = x == 0;
        if (by_zero || x <= d) {
            regs.x = 0xFFFF;
            regs.set_d(0);
        } else {
            const uint32_t dividend = uint32_t(d) << 16;
            regs.x = uint16_t(dividend / x);
            regs.set_d(uint16_t(dividend % x));
        }
        const uint8_t f = (by_zero || x <= d ? V : 0) | (regs.x == 0 ? Z : 0) | (by_zero ? C : 0);
        regs.ccr = merge(regs.ccr, Z | V | C, f);
        break;
    }
    }
    ctx.cycles += cycles;
}

} // namespace torva
