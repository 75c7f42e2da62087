// The XGATE mnemonic table as data. Instruction words are those of the XGATE
// reference manual with every register field zero; branches carry their
// condition in bits 9 to 11 and leave the offset bits zero.
#include "asm/xgate_mnemonics.h"

namespace torva {

namespace {

constexpr uint32_t kReg = kXModeRegister;
constexpr uint32_t kImm = kXModeImmediate;
constexpr uint32_t kMemory = kXModeOffset | kXModeIndex | kXModeIndexInc | kXModeIndexDec;

constexpr uint32_t alias(XgateAlias form, uint32_t low_opcode = 0) {
    return uint32_t(form) << 16 | low_opcode;
}

constexpr MnemonicEntry kTable[] = {
    // name, word, modes, extra, class
    {"adc", 0x1803, kReg, 0, 32},
    {"add", 0x1802, kReg | kImm, 0xE000, 32},
    {"addh", 0xE800, kImm, 0, 31},
    {"addl", 0xE000, kImm, 0, 31},
    {"and", 0x1000, kReg | kImm, 0x8000, 32},
    {"andh", 0x8800, kImm, 0, 31},
    {"andl", 0x8000, kImm, 0, 31},
    {"asr", 0x0801, kReg | kImm, 0, 34},
    {"bcc", 0x2000, kXModeAddress, 0, 33},
    {"bcs", 0x2200, kXModeAddress, 0, 33},
    {"beq", 0x2600, kXModeAddress, 0, 33},
    {"bfext", 0x6003, kReg, 0, 32},
    {"bffo", 0x0800, kReg, 0, 34},
    {"bfins", 0x6803, kReg, 0, 32},
    {"bfinsi", 0x7003, kReg, 0, 32},
    {"bfinsx", 0x7803, kReg, 0, 32},
    {"bge", 0x3400, kXModeAddress, 0, 33},
    {"bgt", 0x3800, kXModeAddress, 0, 33},
    {"bhi", 0x3000, kXModeAddress, 0, 33},
    {"bith", 0x9800, kImm, 0, 31},
    {"bitl", 0x9000, kImm, 0, 31},
    {"ble", 0x3A00, kXModeAddress, 0, 33},
    {"bls", 0x3200, kXModeAddress, 0, 33},
    {"blt", 0x3600, kXModeAddress, 0, 33},
    {"bmi", 0x2A00, kXModeAddress, 0, 33},
    {"bne", 0x2400, kXModeAddress, 0, 33},
    {"bpl", 0x2800, kXModeAddress, 0, 33},
    {"bra", 0x3C00, kXModeAddress, 0, 33},
    {"brk", 0x0000, 0, 0, 30},
    {"bvc", 0x2C00, kXModeAddress, 0, 33},
    {"bvs", 0x2E00, kXModeAddress, 0, 33},
    {"cmp", 0x1800, kReg | kImm, alias(kAliasCompare, 0xD000), 40},
    {"cmpl", 0xD000, kImm, 0, 31},
    {"cpc", 0x1801, kReg, alias(kAliasCompare), 40},
    {"cpch", 0xD800, kImm, 0, 31},
    {"csem", 0x00F0, kReg | kImm, 0, 36},
    {"csl", 0x0802, kReg | kImm, 0, 34},
    {"csr", 0x0803, kReg | kImm, 0, 34},
    {"jal", 0x00F6, kReg, 0, 36},
    {"ldb", 0x4000, kMemory, 0, 37},
    {"ldh", 0xF800, kImm, 0, 31},
    {"ldl", 0xF000, kImm, 0, 31},
    {"ldw", 0x4800, kMemory | kImm, 0xF000, 39},
    {"lsl", 0x0804, kReg | kImm, 0, 34},
    {"lsr", 0x0805, kReg | kImm, 0, 34},
    {"mov", 0x1002, kReg, alias(kAliasMove), 40},
    {"neg", 0x1800, kReg, alias(kAliasNegate), 40},
    {"nop", 0x0100, 0, 0, 30},
    {"or", 0x1002, kReg | kImm, 0xA000, 32},
    {"orh", 0xA800, kImm, 0, 31},
    {"orl", 0xA000, kImm, 0, 31},
    {"par", 0x00F5, kReg, 0, 36},
    {"rol", 0x0806, kReg | kImm, 0, 34},
    {"ror", 0x0807, kReg | kImm, 0, 34},
    {"rts", 0x0200, 0, 0, 30},
    {"sbc", 0x1801, kReg, 0, 32},
    {"sex", 0x00F4, kReg, 0, 36},
    {"sif", 0x0300, kReg, 0, 35},
    {"ssem", 0x00F2, kReg | kImm, 0, 36},
    {"stb", 0x5000, kMemory, 0, 37},
    {"stw", 0x5800, kMemory, 0, 37},
    {"sub", 0x1800, kReg | kImm, 0xC000, 32},
    {"subh", 0xC800, kImm, 0, 31},
    {"subl", 0xC000, kImm, 0, 31},
    {"tfr", 0x00F8, kReg, 0, 38},
    {"tst", 0x1800, kReg, alias(kAliasTest), 40},
    {"xnor", 0x1003, kReg | kImm, 0xB000, 32},
    {"xnorh", 0xB800, kImm, 0, 31},
    {"xnorl", 0xB000, kImm, 0, 31},
};
static_assert(std::size(kTable) == 69, "the XGATE instruction set has 69 mnemonics");
static_assert(grouped_by_first_letter(kTable), "rows are grouped by first letter");
constexpr LetterIndex kIndex = make_letter_index(kTable);

} // namespace

std::span<const MnemonicEntry> xgate_mnemonics() {
    return kTable;
}

const MnemonicEntry* lookup_xgate_mnemonic(const char*& p) {
    return find_mnemonic(kTable, kIndex, p);
}

} // namespace torva
