// The XGATE mnemonic table: one row per mnemonic with its 16-bit instruction
// word (register fields zero), allowed operand modes and encoding class.
#pragma once

#include "asm/mnemonics.h"

#include <cstdint>
#include <span>

namespace torva {

// XGATE operand modes, also the bits of an XGATE row's mode mask (immediate
// and plain addresses share the HC12 codes).
enum XgateMode : uint32_t {
    kXModeImmediate = kModeImmediate,
    kXModeAddress = kModeExtended,
    kXModeRegister = 16384,
    kXModeOffset = 32768,     // (Rb,#offs5)
    kXModeIndex = 0x10000,    // (Rb,Ri)
    kXModeIndexInc = 0x20000, // (Rb,Ri+)
    kXModeIndexDec = 0x40000, // (Rb,-Ri)
};

// XAlias rows keep their alias form in the upper half of `extra`; the
// lower half of `extra` of XTriadic, XMemoryImmediate and XAlias rows is the
// instruction word of the low-byte half of the immediate-16 pair (0: no
// immediate-16 form). The high-byte instruction is always the low one with
// bit 11 set.
enum XgateAlias : uint32_t {
    kAliasCompare = 1, // CMP, CPC Rs1,Rs2: Rd = R0
    kAliasMove = 2,    // MOV Rd,Rs: OR Rd,R0,Rs
    kAliasNegate = 3,  // NEG Rd[,Rs]: SUB Rd,R0,Rs (Rs = Rd when omitted)
    kAliasTest = 4,    // TST Rs: SUB R0,Rs,R0
};
constexpr uint16_t kXgateHighHalf = 0x0800;

std::span<const MnemonicEntry> xgate_mnemonics();

// Finds the XGATE mnemonic at p (any case, ending at a blank, a control
// character or the end of the line); p moves past it. nullptr when unknown.
const MnemonicEntry* lookup_xgate_mnemonic(const char*& p);

} // namespace torva
