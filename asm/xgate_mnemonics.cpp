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

using enum EncodingClass;

constexpr MnemonicEntry kTable[] = {
    // name, word, modes, extra, class
    {"adc", 0x1803, kReg, 0, XTriadic},
    {"add", 0x1802, kReg | kImm, 0xE000, XTriadic},
    {"addh", 0xE800, kImm, 0, XImmediate8},
    {"addl", 0xE000, kImm, 0, XImmediate8},
    {"and", 0x1000, kReg | kImm, 0x8000, XTriadic},
    {"andh", 0x8800, kImm, 0, XImmediate8},
    {"andl", 0x8000, kImm, 0, XImmediate8},
    {"asr", 0x0801, kReg | kImm, 0, XShift},
    {"bcc", 0x2000, kXModeAddress, 0, XBranch},
    {"bcs", 0x2200, kXModeAddress, 0, XBranch},
    {"beq", 0x2600, kXModeAddress, 0, XBranch},
    {"bfext", 0x6003, kReg, 0, XTriadic},
    {"bffo", 0x0800, kReg, 0, XShift},
    {"bfins", 0x6803, kReg, 0, XTriadic},
    {"bfinsi", 0x7003, kReg, 0, XTriadic},
    {"bfinsx", 0x7803, kReg, 0, XTriadic},
    {"bge", 0x3400, kXModeAddress, 0, XBranch},
    {"bgt", 0x3800, kXModeAddress, 0, XBranch},
    {"bhi", 0x3000, kXModeAddress, 0, XBranch},
    {"bith", 0x9800, kImm, 0, XImmediate8},
    {"bitl", 0x9000, kImm, 0, XImmediate8},
    {"ble", 0x3A00, kXModeAddress, 0, XBranch},
    {"bls", 0x3200, kXModeAddress, 0, XBranch},
    {"blt", 0x3600, kXModeAddress, 0, XBranch},
    {"bmi", 0x2A00, kXModeAddress, 0, XBranch},
    {"bne", 0x2400, kXModeAddress, 0, XBranch},
    {"bpl", 0x2800, kXModeAddress, 0, XBranch},
    {"bra", 0x3C00, kXModeAddress, 0, XBranch},
    {"brk", 0x0000, 0, 0, XInherent},
    {"bvc", 0x2C00, kXModeAddress, 0, XBranch},
    {"bvs", 0x2E00, kXModeAddress, 0, XBranch},
    {"cmp", 0x1800, kReg | kImm, alias(kAliasCompare, 0xD000), XAlias},
    {"cmpl", 0xD000, kImm, 0, XImmediate8},
    {"cpc", 0x1801, kReg, alias(kAliasCompare), XAlias},
    {"cpch", 0xD800, kImm, 0, XImmediate8},
    {"csem", 0x00F0, kReg | kImm, 0, XSemaphoreOrSingle},
    {"csl", 0x0802, kReg | kImm, 0, XShift},
    {"csr", 0x0803, kReg | kImm, 0, XShift},
    {"jal", 0x00F6, kReg, 0, XSemaphoreOrSingle},
    {"ldb", 0x4000, kMemory, 0, XMemory},
    {"ldh", 0xF800, kImm, 0, XImmediate8},
    {"ldl", 0xF000, kImm, 0, XImmediate8},
    {"ldw", 0x4800, kMemory | kImm, 0xF000, XMemoryImmediate},
    {"lsl", 0x0804, kReg | kImm, 0, XShift},
    {"lsr", 0x0805, kReg | kImm, 0, XShift},
    {"mov", 0x1002, kReg, alias(kAliasMove), XAlias},
    {"neg", 0x1800, kReg, alias(kAliasNegate), XAlias},
    {"nop", 0x0100, 0, 0, XInherent},
    {"or", 0x1002, kReg | kImm, 0xA000, XTriadic},
    {"orh", 0xA800, kImm, 0, XImmediate8},
    {"orl", 0xA000, kImm, 0, XImmediate8},
    {"par", 0x00F5, kReg, 0, XSemaphoreOrSingle},
    {"rol", 0x0806, kReg | kImm, 0, XShift},
    {"ror", 0x0807, kReg | kImm, 0, XShift},
    {"rts", 0x0200, 0, 0, XInherent},
    {"sbc", 0x1801, kReg, 0, XTriadic},
    {"sex", 0x00F4, kReg, 0, XSemaphoreOrSingle},
    {"sif", 0x0300, kReg, 0, XSif},
    {"ssem", 0x00F2, kReg | kImm, 0, XSemaphoreOrSingle},
    {"stb", 0x5000, kMemory, 0, XMemory},
    {"stw", 0x5800, kMemory, 0, XMemory},
    {"sub", 0x1800, kReg | kImm, 0xC000, XTriadic},
    {"subh", 0xC800, kImm, 0, XImmediate8},
    {"subl", 0xC000, kImm, 0, XImmediate8},
    {"tfr", 0x00F8, kReg, 0, XTransfer},
    {"tst", 0x1800, kReg, alias(kAliasTest), XAlias},
    {"xnor", 0x1003, kReg | kImm, 0xB000, XTriadic},
    {"xnorh", 0xB800, kImm, 0, XImmediate8},
    {"xnorl", 0xB000, kImm, 0, XImmediate8},
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
