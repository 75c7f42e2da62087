// The HC12 / HCS12 / HCS12X mnemonic table: one row per mnemonic with its
// base opcode, allowed addressing modes, class parameter and encoding class.
#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace torva {

// Addressing-mode codes, also the bits of a row's mode mask.
enum OperandMode : uint32_t {
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

// First row of each letter a..z (and the end) of a table grouped by first
// letter, so a lookup scans one letter's rows only.
using LetterIndex = std::array<uint16_t, 27>;

constexpr bool grouped_by_first_letter(std::span<const MnemonicEntry> rows) {
    for (size_t i = 1; i < rows.size(); ++i)
        if (rows[i - 1].name[0] > rows[i].name[0]) return false;
    return true;
}

constexpr LetterIndex make_letter_index(std::span<const MnemonicEntry> rows) {
    LetterIndex index{};
    size_t row = 0;
    for (int letter = 0; letter < 27; ++letter) {
        while (row < rows.size() && rows[row].name[0] - 'a' < letter)
            ++row;
        index[size_t(letter)] = uint16_t(row);
    }
    return index;
}

// Finds the mnemonic at p among `rows` (see lookup_hc12_mnemonic).
const MnemonicEntry* find_mnemonic(std::span<const MnemonicEntry> rows, const LetterIndex& index,
                                   const char*& p);

// Finds the mnemonic at p (any case), which must end at a blank, a control
// character or the end of the line; p moves past it. nullptr when unknown.
const MnemonicEntry* lookup_hc12_mnemonic(const char*& p);

} // namespace torva
