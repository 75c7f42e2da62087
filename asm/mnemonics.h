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

// How an instruction's operand field is read and encoded: each member has
// its own routine in the HC12 or the XGATE encoder.
enum class EncodingClass : uint16_t {
    Inherent = 0,            // one opcode byte, no operand
    InherentTwoByte = 1,     // two opcode bytes (page 2, or a fixed post byte), no operand
    General = 2,             // immediate, direct, extended and indexed
    ShortBranch = 3,         // 8-bit relative
    LongBranch = 4,          // 16-bit relative
    Loop = 5,                // DBEQ..IBNE: register and 9-bit relative
    Memory = 6,              // read-modify-write: extended and indexed only
    ImmediateOnly = 7,       // ANDCC, ORCC, ...
    Call = 8,                // CALL: address and page
    Page2Indexed = 9,        // page 2 with a memory operand: EMACS, MAXA, ETBL, ...
    MoveByte = 10,           // MOVB
    MoveWord = 11,           // MOVW
    BitOp = 12,              // BCLR, BSET, BTAS: address and mask
    BitBranch = 13,          // BRCLR, BRSET: address, mask and 8-bit relative
    Transfer = 14,           // TFR, EXG, SEX: a register pair
    LoadAddress = 15,        // LEAS, LEAX, LEAY
    Jump = 16,               // JMP, JSR
    Table = 17,              // TBL: indexed without indirection
    Trap = 18,               // TRAP #n
    Store = 20,              // as General, without immediate: stores, TSTW, ...
    XInherent = 30,          // XGATE: no operand
    XImmediate8 = 31,        // Rd,#imm8
    XTriadic = 32,           // Rd,Rs1,Rs2 or Rd,#imm16
    XBranch = 33,            // a word-aligned relative target
    XShift = 34,             // Rd,Rs or Rd,#imm4
    XSif = 35,               // SIF, SIF Rs
    XSemaphoreOrSingle = 36, // CSEM/SSEM #imm3 or Rs; JAL, PAR, SEX Rd
    XMemory = 37,            // Rd,(Rb,#offs) / (Rb,Ri) / (Rb,Ri+) / (Rb,-Ri)
    XTransfer = 38,          // TFR with CCR or PC
    XMemoryImmediate = 39,   // as XMemory, or Rd,#imm16
    XAlias = 40,             // two-register aliases of SUB, SBC and OR
};

// The XGATE members are the last, from XInherent on.
constexpr bool is_xgate(EncodingClass c) {
    return c >= EncodingClass::XInherent;
}

struct MnemonicEntry {
    const char* name; // lower case
    uint16_t opcode;  // a non-zero high byte is emitted first
    uint32_t modes;
    uint32_t extra;
    EncodingClass encoding_class;
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
