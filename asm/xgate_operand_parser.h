// The XGATE operand parser: reads one operand at the scan pointer.
#pragma once

#include "asm/messages.h"

#include <cstdint>

namespace torva {

struct AsmSession;

// What an XGATE operand is.
enum class XOperandKind {
    Immediate, // #expr
    Register,  // R0..R7
    Ccr,
    Pc,
    Address,  // a plain expression
    Offset,   // (Rb,#offs5)
    Index,    // (Rb,Ri)
    IndexInc, // (Rb,Ri+)
    IndexDec, // (Rb,-Ri)
};

struct XgateOperand {
    XOperandKind kind = XOperandKind::Address;
    int reg = 0;   // R0..R7; Rb of the memory forms
    int index = 0; // Ri of the memory forms
    int32_t value = 0;
    int forward = 0;
};

// Parses one operand at s.scan and moves s.scan past it. On failure returns
// false; `error` then names the message to report, or is Msg::Count_ when the
// expression evaluator has already reported.
bool parse_xgate_operand(AsmSession& s, XgateOperand& op, Msg& error);

// The XGATE operand mode bit (XgateMode) of a parsed operand.
uint32_t xgate_mode_of(const XgateOperand& op);

} // namespace torva
