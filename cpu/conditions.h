// Branch conditions: one predicate per pair of complementary branches,
// selected by the low nibble of the branch opcode.
#pragma once

#include "cpu/registers.h"

#include <cstdint>

namespace torva {

namespace cond {
using namespace ccr_bits;
constexpr bool n_ne_v(uint8_t ccr) {
    return ((ccr & N) != 0) != ((ccr & V) != 0);
}
constexpr bool hi(uint8_t ccr) {
    return (ccr & (C | Z)) == 0;
} // BHI/BLS
constexpr bool cc(uint8_t ccr) {
    return (ccr & C) == 0;
} // BCC/BCS
constexpr bool ne(uint8_t ccr) {
    return (ccr & Z) == 0;
} // BNE/BEQ
constexpr bool vc(uint8_t ccr) {
    return (ccr & V) == 0;
} // BVC/BVS
constexpr bool pl(uint8_t ccr) {
    return (ccr & N) == 0;
} // BPL/BMI
constexpr bool ge(uint8_t ccr) {
    return !n_ne_v(ccr);
} // BGE/BLT
constexpr bool gt(uint8_t ccr) {
    return (ccr & Z) == 0 && !n_ne_v(ccr);
} // BGT/BLE
} // namespace cond

// Codes 0-15 in opcode order: RA RN HI LS CC CS NE EQ VC VS PL MI GE LT GT LE.
// Each even code is a predicate, the odd code after it its complement.
constexpr bool branch_taken(uint8_t code, uint8_t ccr) {
    bool taken = true; // BRA
    switch (code >> 1) {
    case 1: taken = cond::hi(ccr); break;
    case 2: taken = cond::cc(ccr); break;
    case 3: taken = cond::ne(ccr); break;
    case 4: taken = cond::vc(ccr); break;
    case 5: taken = cond::pl(ccr); break;
    case 6: taken = cond::ge(ccr); break;
    case 7: taken = cond::gt(ccr); break;
    default: break;
    }
    return (code & 1) ? !taken : taken;
}

} // namespace torva
