// XGATE operand forms: #expr, R0..R7, CCR, PC, expr, and the memory forms
// (Rb,#offs5), (Rb,Ri), (Rb,Ri+), (Rb,-Ri). In the XGATE model an
// expression ends at a parenthesis it did not open, so "#5)" reads as 5.
#include "asm/xgate_operand_parser.h"

#include "asm/expression.h"
#include "asm/session.h"
#include "asm/xgate_mnemonics.h"

namespace torva {

namespace {

// R0..R7 at p: its number, and p moved past it; -1 otherwise.
int read_register(const AsmSession& s, const char*& p) {
    const Token t = peek_token(s, p, false);
    if (t.code != kTokRegR) return -1;
    p = t.end;
    return t.value;
}

bool fail(Msg& error, Msg m) {
    error = m;
    return false;
}

// The part after '(': Rb,#offs5) or Rb,Ri) / Rb,Ri+) / Rb,-Ri).
bool parse_memory(AsmSession& s, XgateOperand& op, Msg& error) {
    const char* p = s.scan;
    op.reg = read_register(s, p);
    if (op.reg < 0) return fail(error, Msg::XRegisterExpected);
    if (*p != ',') return fail(error, Msg::XCommaExpected);
    ++p;
    if (*p == '#') {
        s.scan = p + 1;
        ExprValue ev;
        if (!evaluate_operand(s, ev, true)) return fail(error, Msg::Count_);
        op.kind = XOperandKind::Offset;
        op.value = ev.value;
        op.forward = ev.forward;
        p = s.scan;
    } else {
        const bool decrement = *p == '-';
        if (decrement) ++p;
        op.index = read_register(s, p);
        if (op.index < 0) return fail(error, Msg::XRegisterExpected);
        op.kind = decrement ? XOperandKind::IndexDec : XOperandKind::Index;
        if (!decrement && *p == '+') {
            op.kind = XOperandKind::IndexInc;
            ++p;
        }
    }
    if (*p != ')') return fail(error, Msg::XSyntaxError);
    s.scan = p + 1;
    return true;
}

} // namespace

bool parse_xgate_operand(AsmSession& s, XgateOperand& op, Msg& error) {
    op = XgateOperand{};
    const char* p = s.scan;
    ExprValue ev;
    if (*p == '#') {
        s.scan = p + 1;
        if (!evaluate_operand(s, ev, true)) return fail(error, Msg::Count_);
        op.kind = XOperandKind::Immediate;
        op.value = ev.value;
        op.forward = ev.forward;
        return true;
    }
    // A parenthesis opens a memory operand when a register follows it;
    // otherwise it belongs to an expression, as in "bra (loop+2)".
    if (*p == '(' && peek_token(s, p + 1, false).code == kTokRegR) {
        s.scan = p + 1;
        return parse_memory(s, op, error);
    }
    const Token t = peek_token(s, p, false);
    switch (t.code) {
    case kTokRegR:
        op.kind = XOperandKind::Register;
        op.reg = t.value;
        s.scan = t.end;
        return true;
    case kTokRegCCR:
        op.kind = XOperandKind::Ccr;
        s.scan = t.end;
        return true;
    case kTokRegPC:
        op.kind = XOperandKind::Pc;
        s.scan = t.end;
        return true;
    default: break;
    }
    if (static_cast<unsigned char>(*p) <= ' ' || *p == ',') return fail(error, Msg::XSyntaxError);
    if (!evaluate_operand(s, ev, true)) return fail(error, Msg::Count_);
    op.kind = XOperandKind::Address;
    op.value = ev.value;
    op.forward = ev.forward;
    return true;
}

uint32_t xgate_mode_of(const XgateOperand& op) {
    switch (op.kind) {
    case XOperandKind::Immediate: return kXModeImmediate;
    case XOperandKind::Register: return kXModeRegister;
    case XOperandKind::Offset: return kXModeOffset;
    case XOperandKind::Index: return kXModeIndex;
    case XOperandKind::IndexInc: return kXModeIndexInc;
    case XOperandKind::IndexDec: return kXModeIndexDec;
    case XOperandKind::Address: return kXModeAddress;
    case XOperandKind::Ccr:
    case XOperandKind::Pc: return 0;
    }
    return 0;
}

} // namespace torva
