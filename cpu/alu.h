// The shared adder, logic unit and one-bit shifter of the instruction
// handlers: each computes a result and merges its flags into the CCR under
// the caller's mask, touching nothing else.
#pragma once

#include "cpu/registers.h"

#include <cstdint>

namespace torva {

// Operation codes are the ASCII letters the handlers pass.
namespace alu_op {
constexpr uint8_t Add = '+';
constexpr uint8_t Sub = '-';
constexpr uint8_t And = 'A';
constexpr uint8_t Or = 'O';
constexpr uint8_t ShiftLeft = 'L';  // a + a, bit 0 from b
constexpr uint8_t ShiftRight = 'R'; // a >> 1, top bit from b
} // namespace alu_op

namespace alu_detail {

// Flags of "+" and "-" from the operands' and result's top bits, as the
// manufacturer's manual writes them.
constexpr uint8_t add_flags(bool an, bool bn, bool rn, bool carry) {
    uint8_t f = 0;
    if ((an && bn && !rn) || (!an && !bn && rn)) f |= ccr_bits::V;
    if (carry) f |= ccr_bits::C;
    return f;
}

constexpr uint8_t sub_flags(bool an, bool bn, bool rn) {
    uint8_t f = 0;
    if ((an && !bn && !rn) || (!an && bn && rn)) f |= ccr_bits::V;
    if ((!an && bn) || (bn && rn) || (rn && !an)) f |= ccr_bits::C;
    return f;
}

// One routine for both widths; top is the sign bit (7 or 15).
template <typename T, int top>
[[gnu::always_inline]] constexpr T alu(uint8_t op, T a, T b, unsigned carry_in, uint8_t mask,
                                       uint8_t& ccr) {
    constexpr uint32_t all = (uint32_t(1) << (top + 1)) - 1;
    const auto bit = [](uint32_t v, int n) { return (v >> n & 1) != 0; };
    uint32_t r = 0;
    uint8_t f = 0;
    switch (op) {
    case alu_op::Add: {
        const uint32_t sum = uint32_t(a) + b + (carry_in & 1);
        r = sum & all;
        f = add_flags(bit(a, top), bit(b, top), bit(r, top), sum > all);
        if (top == 7 &&
            ((bit(a, 3) && bit(b, 3)) || (bit(b, 3) && !bit(r, 3)) || (bit(a, 3) && !bit(r, 3))))
            f |= ccr_bits::H;
        break;
    }
    case alu_op::Sub:
        r = (uint32_t(a) - b - (carry_in & 1)) & all;
        f = sub_flags(bit(a, top), bit(b, top), bit(r, top));
        break;
    case alu_op::And: r = a & b; break;
    case alu_op::Or: r = a | b; break;
    case alu_op::ShiftLeft:
        // The shift is an addition of a to itself: V and C come from it and
        // reach the CCR whatever the caller's mask; the caller's mask then
        // applies only to N and Z.
        r = alu<T, top>(alu_op::Add, a, a, 0, ccr_bits::V | ccr_bits::C, ccr);
        r = (r & (all - 1)) | (b != 0 ? 1 : 0);
        mask &= uint8_t(~(ccr_bits::V | ccr_bits::C));
        break;
    case alu_op::ShiftRight:
        r = uint32_t(a) >> 1 | (b != 0 ? uint32_t(1) << top : 0);
        if (a & 1) f |= ccr_bits::C;
        break;
    default: break;
    }
    if (r == 0) f |= ccr_bits::Z;
    if (bit(r, top)) f |= ccr_bits::N;
    ccr = uint8_t((ccr & ~mask) | (f & mask));
    return T(r);
}

} // namespace alu_detail

// 8-bit operation; H comes only from "+".
[[gnu::always_inline]] constexpr uint8_t alu8(uint8_t op, uint8_t a, uint8_t b, unsigned carry_in,
                                              uint8_t mask, uint8_t& ccr) {
    return alu_detail::alu<uint8_t, 7>(op, a, b, carry_in, mask, ccr);
}

// 16-bit operation; never sets H.
[[gnu::always_inline]] constexpr uint16_t alu16(uint8_t op, uint16_t a, uint16_t b,
                                                unsigned carry_in, uint8_t mask, uint8_t& ccr) {
    return alu_detail::alu<uint16_t, 15>(op, a, b, carry_in, mask, ccr);
}

// Masks the handler families pass.
namespace alu_mask {
constexpr uint8_t HNZVC = 0x2F;
constexpr uint8_t NZVC = 0x0F;
constexpr uint8_t NZV = 0x0E;
constexpr uint8_t NZC = 0x0D;
constexpr uint8_t NZ = 0x0C;
} // namespace alu_mask

} // namespace torva
