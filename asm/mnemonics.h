// The HC12 / HCS12 / HCS12X mnemonic table: one row per mnemonic with its
// base opcode, allowed addressing modes, class parameter and encoding class.
#pragma once

#include <cstdint>
#include <span>

namespace torva {

// Addressing-mode codes, also the bits of a row's mode mask.
enum AddrMode : uint32_t {
    kModeImmediate = 1,
    kModeDirect = 2,
    kModeExtended = 8,
    kModeInherent = 16,
    kModeIdx5 = 64, // 5-bit offset, accumulator offset, increment/decrement
    kModeIdx9 = 128,
    kModeIdx16 = 256,
    kModeIdxD = 512,      // [D,r]
    kModeIdx16Ind = 2048, // [n,r]
    kModeHcs12xOnly = 0x1000,
};

struct MnemonicEntry {
    const char* name; // lower case
    uint16_t opcode;  // a non-zero high byte is emitted first
    uint32_t modes;
    uint32_t extra;
    uint16_t encoding_class;
};

// The rows, grouped by first letter in alphabetical order.
std::span<const MnemonicEntry> hc12_mnemonics();

// Finds the mnemonic at p (any case), which must end at a blank, a control
// character or the end of the line; p moves past it. nullptr when unknown.
const MnemonicEntry* lookup_hc12_mnemonic(const char*& p);

} // namespace torva
