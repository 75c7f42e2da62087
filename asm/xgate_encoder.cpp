// XGATE instruction words. Register fields: Rd at bit 8, Rs1/Rb at bit 5,
// Rs2/Ri at bit 2. The immediate-16 forms are two words, the low-byte
// instruction first, then the high-byte one (bit 11 set), both with Rd.
#include "asm/xgate_encoder.h"

#include "asm/expression.h"
#include "asm/messages.h"
#include "asm/session.h"
#include "asm/srecord_output.h"
#include "asm/xgate_mnemonics.h"
#include "asm/xgate_operand_parser.h"

#include <array>

namespace torva {

namespace {

bool fits(int32_t v, int32_t lo, int32_t hi) {
    return v >= lo && v <= hi;
}

class XgateEncoder {
public:
    XgateEncoder(AsmSession& s, const MnemonicEntry& e) : s_(s), e_(e), op_(e.opcode) {}

    void run();

private:
    bool fail(Msg m) {
        report(s_, m);
        return false;
    }
    void put(uint32_t word) {
        if (n_ < words_.size()) words_[n_++] = uint16_t(word);
    }
    bool allows(uint32_t mode) const { return (e_.modes & mode) != 0; }

    bool operand(XgateOperand& o) {
        Msg error = Msg::Count_;
        if (parse_xgate_operand(s_, o, error)) return true;
        if (error != Msg::Count_) report(s_, error);
        return false;
    }
    // R0..R7 at the scan pointer.
    bool reg(int& r) {
        const Token t = peek_token(s_, s_.scan, false);
        if (t.code != kTokRegR) return fail(Msg::XRegisterExpected);
        r = t.value;
        s_.scan = t.end;
        return true;
    }
    bool comma() {
        if (*s_.scan != ',') return fail(Msg::XCommaExpected);
        ++s_.scan;
        return true;
    }
    // Warns when v lies outside lo..hi (the field keeps its low bits).
    void range(int32_t v, int32_t lo, int32_t hi, Msg m) {
        if (!fits(v, lo, hi)) report(s_, m);
    }
    // The low-byte / high-byte pair that loads or combines a 16-bit value.
    void immediate16(int rd, int32_t v, uint32_t low_opcode) {
        range(v, -32768, 65535, Msg::XOutOfRange);
        const uint32_t d = uint32_t(rd) << 8;
        put(low_opcode | d | (uint32_t(v) & 0xFF));
        put((low_opcode | kXgateHighHalf) | d | (uint32_t(v) >> 8 & 0xFF));
    }

    bool immediate8();
    bool triadic();
    bool branch();
    bool shift();
    bool semaphore_or_single();
    bool sif();
    bool memory();
    bool transfer();
    bool alias();

    AsmSession& s_;
    const MnemonicEntry& e_;
    uint32_t op_;
    std::array<uint16_t, 2> words_{};
    size_t n_ = 0;
    // Words whose room is kept when an error depends on a value that pass 1
    // may not know yet, so both passes agree on the location counter.
    int reserve_ = 0;
    bool comment_follows_ = false; // an instruction without operands
};

// XImmediate8: Rd,#imm8.
bool XgateEncoder::immediate8() {
    int rd = 0;
    XgateOperand o;
    if (!reg(rd) || !comma() || !operand(o)) return false;
    if (o.kind != XOperandKind::Immediate) return fail(Msg::XImmediateExpected);
    range(o.value, -128, 255, Msg::XImm8Truncated);
    put(op_ | uint32_t(rd) << 8 | (uint32_t(o.value) & 0xFF));
    return true;
}

// XTriadic: Rd,Rs1,Rs2, or Rd,#imm16 where the row has a low/high pair.
bool XgateEncoder::triadic() {
    int rd = 0;
    XgateOperand o;
    if (!reg(rd) || !comma() || !operand(o)) return false;
    if (o.kind == XOperandKind::Immediate) {
        if ((e_.extra & 0xFFFF) == 0) return fail(Msg::XIllegalAdressingMode);
        immediate16(rd, o.value, e_.extra & 0xFFFF);
        return true;
    }
    if (o.kind != XOperandKind::Register) return fail(Msg::XConstantExpected);
    int rs2 = 0;
    if (!comma() || !reg(rs2)) return false;
    put(op_ | uint32_t(rd) << 8 | uint32_t(o.reg) << 5 | uint32_t(rs2) << 2);
    return true;
}

// XBranch: a word-aligned target within 9 (BRA: 10) bits of words.
bool XgateEncoder::branch() {
    XgateOperand o;
    if (!operand(o)) return false;
    if (o.kind != XOperandKind::Address) return fail(Msg::XIllegalAdressingMode);
    if (o.value & 1) {
        reserve_ = 1;
        return fail(Msg::XMisaligned);
    }
    const int32_t offset = int32_t(uint32_t(o.value) - (s_.line_start + 2)) / 2;
    const bool always = op_ == 0x3C00;
    const int32_t limit = always ? 512 : 256;
    range(offset, -limit, limit - 1, Msg::XBranchTooLong);
    put(op_ | (uint32_t(offset) & uint32_t(limit * 2 - 1)));
    return true;
}

// XShift: Rd,Rs or Rd,#imm4.
bool XgateEncoder::shift() {
    int rd = 0;
    XgateOperand o;
    if (!reg(rd) || !comma() || !operand(o)) return false;
    const uint32_t d = uint32_t(rd) << 8;
    if (o.kind == XOperandKind::Register) {
        put(op_ | d | uint32_t(o.reg) << 5 | 0x10);
        return true;
    }
    if (o.kind != XOperandKind::Immediate || !allows(kXModeImmediate))
        return fail(Msg::XIllegalAdressingMode);
    range(o.value, -16, 15, Msg::XOutOfRange);
    put(op_ | d | (uint32_t(o.value) & 15) << 4 | 8);
    return true;
}

// XSif: SIF, or SIF Rs. Anything after a bare SIF is a comment, as
// after the other inherent instructions.
bool XgateEncoder::sif() {
    if (peek_token(s_, s_.scan, false).code != kTokRegR) {
        put(0x0300);
        comment_follows_ = true;
        return true;
    }
    int rs = 0;
    if (!reg(rs)) return false;
    put(0x00F7 | uint32_t(rs) << 8);
    return true;
}

// XSemaphoreOrSingle: CSEM/SSEM #imm3 or Rs; JAL, PAR, SEX Rd.
bool XgateEncoder::semaphore_or_single() {
    const bool semaphore = allows(kXModeImmediate);
    XgateOperand o;
    if (!operand(o)) return false;
    if (o.kind == XOperandKind::Register) {
        put(op_ | uint32_t(o.reg) << 8 | (semaphore ? 1 : 0));
        return true;
    }
    if (!semaphore) return fail(Msg::XRegisterExpected);
    if (o.kind != XOperandKind::Immediate) return fail(Msg::XIllegalAdressingMode);
    range(o.value, 0, 7, Msg::XOutOfRange);
    put(op_ | (uint32_t(o.value) & 7) << 8);
    return true;
}

// Classes 37 and 39: Rd,(Rb,#offs5) / (Rb,Ri) / (Rb,Ri+) / (Rb,-Ri); LDW
// also Rd,#imm16.
bool XgateEncoder::memory() {
    int rd = 0;
    XgateOperand o;
    if (!reg(rd) || !comma() || !operand(o)) return false;
    const uint32_t head = op_ | uint32_t(rd) << 8;
    switch (o.kind) {
    case XOperandKind::Offset:
        range(o.value, -32, 31, Msg::XOutOfRange);
        put(head | uint32_t(o.reg) << 5 | (uint32_t(o.value) & 31));
        return true;
    case XOperandKind::Index:
    case XOperandKind::IndexInc:
    case XOperandKind::IndexDec: {
        const uint32_t step = o.kind == XOperandKind::IndexInc   ? 1
                              : o.kind == XOperandKind::IndexDec ? 2
                                                                 : 0;
        put(head | 0x2000 | uint32_t(o.reg) << 5 | uint32_t(o.index) << 2 | step);
        return true;
    }
    case XOperandKind::Immediate:
        if (!allows(kXModeImmediate)) break;
        immediate16(rd, o.value, e_.extra & 0xFFFF);
        return true;
    default: break;
    }
    return fail(Msg::XIllegalAdressingMode);
}

// XTransfer: TFR Rd,CCR / CCR,Rs / Rd,PC.
bool XgateEncoder::transfer() {
    XgateOperand a, b;
    if (!operand(a) || !comma() || !operand(b)) return false;
    using K = XOperandKind;
    if (a.kind == K::Register && b.kind == K::Ccr)
        put(op_ | uint32_t(a.reg) << 8);
    else if (a.kind == K::Ccr && b.kind == K::Register)
        put(op_ | uint32_t(b.reg) << 8 | 1);
    else if (a.kind == K::Register && b.kind == K::Pc)
        put(op_ | uint32_t(a.reg) << 8 | 2);
    else
        return fail(Msg::XInvalidRegister);
    return true;
}

// XAlias: two-register aliases of SUB, SBC and OR with R0 in one field.
bool XgateEncoder::alias() {
    int r1 = 0, r2 = 0;
    switch (e_.extra >> 16) {
    case kAliasCompare: {
        XgateOperand o;
        if (!reg(r1) || !comma() || !operand(o)) return false;
        if (o.kind == XOperandKind::Immediate && (e_.extra & 0xFFFF)) {
            immediate16(r1, o.value, e_.extra & 0xFFFF);
            return true;
        }
        if (o.kind != XOperandKind::Register) return fail(Msg::XRegisterExpected);
        put(op_ | uint32_t(r1) << 5 | uint32_t(o.reg) << 2);
        return true;
    }
    case kAliasMove:
        if (!reg(r1) || !comma() || !reg(r2)) return false;
        put(op_ | uint32_t(r1) << 8 | uint32_t(r2) << 2);
        return true;
    case kAliasNegate:
        if (!reg(r1)) return false;
        r2 = r1;
        if (*s_.scan == ',') {
            ++s_.scan;
            if (!reg(r2)) return false;
        }
        put(op_ | uint32_t(r1) << 8 | uint32_t(r2) << 2);
        return true;
    case kAliasTest:
        if (!reg(r1)) return false;
        put(op_ | uint32_t(r1) << 5);
        return true;
    }
    return fail(Msg::UnknownClass);
}

void XgateEncoder::run() {
    // Only the inherent instructions and SIF go without an operand; every
    // other class answers an empty operand field alike.
    const bool needs_operand =
        e_.encoding_class != EncodingClass::XInherent && e_.encoding_class != EncodingClass::XSif;
    if (needs_operand && static_cast<unsigned char>(*s_.scan) <= ' ') {
        report(s_, Msg::XSyntaxError);
        return;
    }
    bool ok = false;
    switch (e_.encoding_class) {
    case EncodingClass::XInherent:
        put(op_);
        comment_follows_ = true;
        ok = true;
        break;
    case EncodingClass::XImmediate8: ok = immediate8(); break;
    case EncodingClass::XTriadic: ok = triadic(); break;
    case EncodingClass::XBranch: ok = branch(); break;
    case EncodingClass::XShift: ok = shift(); break;
    case EncodingClass::XSif: ok = sif(); break;
    case EncodingClass::XSemaphoreOrSingle: ok = semaphore_or_single(); break;
    case EncodingClass::XMemory:
    case EncodingClass::XMemoryImmediate: ok = memory(); break;
    case EncodingClass::XTransfer: ok = transfer(); break;
    case EncodingClass::XAlias: ok = alias(); break;
    default: ok = fail(Msg::UnknownClass);
    }
    if (ok && !comment_follows_ && static_cast<unsigned char>(*s_.scan) > ' ')
        ok = fail(Msg::XExtraCharacters);
    if (!ok) {
        if (reserve_) emit_storage(s_, uint32_t(reserve_) * 2);
        return;
    }
    for (size_t i = 0; i < n_; ++i)
        emit_word(s_, words_[i]);
}

} // namespace

void encode_xgate_instruction(AsmSession& s, const MnemonicEntry& entry) {
    XgateEncoder(s, entry).run();
}

} // namespace torva
