// The HC12 operand parser: decides the addressing mode and the indexed
// postbyte of one operand at the scan pointer.
#pragma once

#include <cstdint>

namespace torva {

struct AsmSession;

struct OperandInfo {
    uint32_t mode = 0; // an OperandMode
    uint8_t postbyte = 0;
    int index_reg = 0; // rr: X 0, Y 1, SP 2, PC 3
    int32_t value = 0;
    int forward = 0;
    bool pcr = false;
    // An n,r or [n,r] operand whose offset size (or PC-relative offset)
    // is settled by size_indexed() once the instruction length is known.
    bool sized_later = false;
    bool indirect = false;
    int offset_bytes = 0;
    int32_t offset = 0;
};

// Parses one operand at s.scan and moves s.scan past it. False when the
// text cannot be read as an operand (nothing is reported then, except
// errors inside a well-formed expression).
bool parse_operand(AsmSession& s, OperandInfo& op);

// Settles the form of an n,r operand: `fixed_length` is the instruction's
// length without the offset bytes. The smallest form whose offset fits is
// chosen; a forward reference takes the 16-bit form. With PCR the offset
// is taken from the address of the next instruction.
void size_indexed(const AsmSession& s, OperandInfo& op, int fixed_length);

} // namespace torva
