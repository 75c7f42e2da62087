// Encoders for the HC12 encoding classes.
#include "asm/encoder.h"

#include "asm/expression.h"
#include "asm/messages.h"
#include "asm/mnemonics.h"
#include "asm/operand_parser.h"
#include "asm/session.h"
#include "asm/srecord_output.h"
#include "asm/transfer_postbytes.h"
#include "asm/xgate_encoder.h"
#include "asm/xgate_mnemonics.h"

#include <array>

namespace torva {

namespace {

bool fits(int32_t v, int32_t lo, int32_t hi) {
    return v >= lo && v <= hi;
}
bool at_operand_end(const char* p) {
    return static_cast<unsigned char>(*p) <= ' ';
}

// The bytes of one instruction, emitted only when encoding succeeds.
class Encoder {
public:
    Encoder(AsmSession& s, const MnemonicEntry& e)
        : s_(s), e_(e), prefix_(uint8_t(e.opcode >> 8)), op_(uint8_t(e.opcode)) {}

    void run();

private:
    // Syntax message of this class when an operand cannot be read.
    Msg syntax_message() const {
        switch (e_.encoding_class) {
        case EncodingClass::ShortBranch:
        case EncodingClass::LongBranch:
        case EncodingClass::ImmediateOnly:
        case EncodingClass::Call:
        case EncodingClass::MoveByte:
        case EncodingClass::MoveWord:
        case EncodingClass::BitOp:
        case EncodingClass::BitBranch: return Msg::BadOperandSyntax;
        default: return Msg::SyntaxError;
        }
    }
    bool fail(Msg m) {
        report(s_, m);
        return false;
    }
    bool syntax() { return fail(syntax_message()); }

    void put(uint8_t b) {
        if (n_ < bytes_.size()) bytes_[n_++] = b;
    }
    void put_prefix() {
        if (prefix_) put(prefix_);
    }
    void put8(int32_t v) {
        if (!fits(v, -128, 255)) report_as(s_, MsgKind::Error, Msg::WordTruncated);
        put(uint8_t(v));
    }
    void put16(int32_t v) {
        if (!fits(v, -32768, 65535)) report_as(s_, MsgKind::Error, Msg::WordTruncated);
        put(uint8_t(v >> 8));
        put(uint8_t(v));
    }
    void put_direct(int32_t v) {
        if (!fits(v, -128, 255)) report(s_, Msg::DirectPageTruncated);
        put(uint8_t(v));
    }
    void put_indexed(const OperandInfo& o) {
        put(o.postbyte);
        if (o.offset_bytes == 1) put(uint8_t(o.offset));
        if (o.offset_bytes == 2) {
            put(uint8_t(o.offset >> 8));
            put(uint8_t(o.offset));
        }
    }
    // 8-bit branch displacement from the end of an instruction of `length`.
    void put_rel8(int32_t target, int length) {
        const int32_t d = int32_t(uint32_t(target) - (s_.line_start + uint32_t(length)));
        if (!fits(d, -128, 127)) report(s_, Msg::DisplacementTruncated);
        put(uint8_t(d));
    }
    void put_rel16(int32_t target, int length) {
        const int32_t d = int32_t(uint32_t(target) - (s_.line_start + uint32_t(length)));
        put(uint8_t(d >> 8));
        put(uint8_t(d));
    }

    bool model_check() {
        if ((e_.modes & kModeHcs12xOnly) && s_.cpu_model != kModelHCS12X)
            return fail(Msg::InvalidForModel);
        return true;
    }
    static bool is_indexed(uint32_t mode) {
        return mode == kModeIdx5 || mode == kModeIdx9 || mode == kModeIdx16 || mode == kModeIdxD ||
               mode == kModeIdx16Ind;
    }
    bool operand(OperandInfo& o) { return parse_operand(s_, o) || syntax(); }
    bool expect_comma() {
        if (*s_.scan != ',') return syntax();
        ++s_.scan;
        return true;
    }
    bool allowed(const OperandInfo& o) {
        return (e_.modes & o.mode) != 0 || fail(Msg::IllegalAddressingModeCaps);
    }

    bool inherent();
    bool general(bool store);
    bool short_branch();
    bool long_branch();
    bool loop();
    bool memory();
    bool immediate_only();
    bool call();
    bool page2_indexed();
    bool move(bool word);
    bool bits(bool branch);
    bool transfer();
    bool load_address();
    bool jump();
    bool table();
    bool trap();

    AsmSession& s_;
    const MnemonicEntry& e_;
    uint8_t prefix_, op_;
    std::array<uint8_t, 16> bytes_{};
    size_t n_ = 0;
};

bool Encoder::inherent() {
    if (e_.encoding_class == EncodingClass::InherentTwoByte && !model_check()) return false;
    put_prefix();
    put(op_);
    return true;
}

// Classes 2 and 20: immediate (not for stores), direct, extended, indexed.
bool Encoder::general(bool store) {
    if (!model_check()) return false;
    OperandInfo o;
    if (!operand(o)) return false;
    const int head = prefix_ ? 2 : 1;
    size_indexed(s_, o, head + 1);
    if (store && o.mode == kModeImmediate) return fail(Msg::IllegalAddressingModeCaps);
    if (!allowed(o)) return false;
    put_prefix();
    switch (o.mode) {
    case kModeImmediate:
        put(op_);
        if (e_.extra == 1)
            put16(o.value);
        else
            put8(o.value);
        break;
    case kModeDirect:
        put(uint8_t(op_ | 0x10));
        put_direct(o.value);
        break;
    case kModeExtended:
        put(uint8_t(op_ | 0x30));
        put16(o.value);
        break;
    default: put(uint8_t(op_ | 0x20)); put_indexed(o);
    }
    return true;
}

bool Encoder::short_branch() {
    OperandInfo o;
    if (!operand(o)) return false;
    if (o.mode != kModeDirect && o.mode != kModeExtended)
        return fail(Msg::IllegalAddressingModeLower);
    put(op_);
    put_rel8(o.value, 2);
    return true;
}

bool Encoder::long_branch() {
    OperandInfo o;
    if (!operand(o)) return false;
    if (o.mode != kModeDirect && o.mode != kModeExtended)
        return fail(Msg::IllegalAddressingModeCaps);
    put(0x18);
    put(op_);
    put_rel16(o.value, 4);
    return true;
}

// DBEQ and its kin: 04, lb (extra | register | sign of the 9-bit
// displacement), low byte of the displacement.
bool Encoder::loop() {
    const Token reg = peek_token(s_, s_.scan, false);
    int code = -1;
    switch (reg.code) {
    case kTokRegA: code = 0; break;
    case kTokRegB: code = 1; break;
    case kTokRegD: code = 4; break;
    case kTokRegX: code = 5; break;
    case kTokRegY: code = 6; break;
    case kTokRegSP: code = 7; break;
    }
    if (code < 0) return syntax();
    const char* p = reg.end;
    if (*p != ',' && *p != ' ' && *p != '\t') return syntax();
    ++p;
    while (*p == ' ' || *p == '\t')
        ++p;
    s_.scan = p;
    ExprValue target;
    if (!evaluate_operand(s_, target, true)) return false;
    const int32_t d = int32_t(uint32_t(target.value) - (s_.line_start + 3));
    // The CPU reads a 9-bit displacement; anything wider would branch
    // somewhere else without a word.
    if (!fits(d, -256, 255)) report(s_, Msg::LoopDisplacementTruncated);
    put(op_);
    put(uint8_t(e_.extra | uint32_t(code) | (d < 0 ? 0x10 : 0)));
    put(uint8_t(d));
    return true;
}

// Memory: read-modify-write memory, no immediate and no direct page.
bool Encoder::memory() {
    if (!model_check()) return false;
    OperandInfo o;
    if (!operand(o)) return false;
    size_indexed(s_, o, (prefix_ ? 2 : 1) + 1);
    if (o.mode == kModeImmediate) return fail(Msg::IllegalAddressingModeCaps);
    if (o.mode == kModeDirect) {
        report(s_, Msg::DirectPageSubstituted);
        o.mode = kModeExtended;
    }
    if (!allowed(o)) return false;
    put_prefix();
    if (o.mode == kModeExtended) {
        put(uint8_t(op_ | 0x30));
        put16(o.value);
    } else {
        put(uint8_t(op_ | 0x20));
        put_indexed(o);
    }
    return true;
}

bool Encoder::immediate_only() {
    OperandInfo o;
    if (!operand(o)) return false;
    if (o.mode != kModeImmediate) return fail(Msg::IllegalAddressingModeLower);
    put(op_);
    put8(o.value);
    return true;
}

// CALL addr,page / n,r,page / [D,r] / [n,r].
bool Encoder::call() {
    OperandInfo o;
    if (!operand(o)) return false;
    if (o.mode == kModeImmediate) return fail(Msg::IllegalAddressingModeCaps);
    const bool indirect = o.indirect || o.mode == kModeIdxD;
    size_indexed(s_, o, indirect ? 2 : 3);
    if (!allowed(o) && o.mode != kModeDirect) return false;
    OperandInfo page;
    if (!indirect) {
        if (!expect_comma()) return false;
        ExprValue ev;
        if (!evaluate_operand(s_, ev, true)) return false;
        page.value = ev.value;
    }
    if (o.mode == kModeExtended || o.mode == kModeDirect) {
        put(0x4A);
        put16(o.value);
    } else {
        put(0x4B);
        put_indexed(o);
    }
    if (!indirect) put8(page.value);
    return true;
}

bool Encoder::page2_indexed() {
    OperandInfo o;
    if (!operand(o)) return false;
    size_indexed(s_, o, 3);
    if (o.mode == kModeDirect) o.mode = kModeExtended;
    if (!allowed(o)) return false;
    put(0x18);
    put(uint8_t(e_.extra));
    if (o.mode == kModeExtended)
        put16(o.value);
    else
        put_indexed(o);
    return true;
}

// MOVB / MOVW: 18, the form's opcode, then the operands in the CPU's order
// (an indexed destination's postbyte before the source bytes).
bool Encoder::move(bool word) {
    OperandInfo src, dst;
    if (!operand(src) || !expect_comma() || !operand(dst)) return false;
    if (src.mode == kModeDirect) src.mode = kModeExtended;
    if (dst.mode == kModeDirect) dst.mode = kModeExtended;
    const int imm = word ? 2 : 1;
    auto length_of = [&](const OperandInfo& o) {
        if (o.mode == kModeImmediate) return imm;
        if (o.mode == kModeExtended) return 2;
        return 1 + o.offset_bytes;
    };
    // Each operand's form may hang on the other's length (PC-relative
    // offsets count from the end of the instruction): size the destination,
    // the source with it, then the destination with the settled source.
    size_indexed(s_, dst, 2 + length_of(src) + 1);
    size_indexed(s_, src, 2 + 1 + length_of(dst));
    size_indexed(s_, dst, 2 + length_of(src) + 1);
    // The CPU12 moves take the short indexed forms only (mode 64); the
    // CPU12X takes every indexed form on either side.
    const bool all_indexed = s_.cpu_model == kModelHCS12X;
    auto indexed_ok = [&](const OperandInfo& o) {
        return o.mode == kModeIdx5 || (all_indexed && is_indexed(o.mode));
    };
    const bool src_ok = src.mode == kModeImmediate || src.mode == kModeExtended || indexed_ok(src);
    if (!src_ok) {
        if (s_.cpu_model == kModelHCS12 && is_indexed(src.mode)) return fail(Msg::SourceModeHcs12);
        return fail(Msg::IllegalSource);
    }
    if (dst.mode != kModeExtended && !indexed_ok(dst)) return fail(Msg::IllegalDestination);
    const bool dst_ext = dst.mode == kModeExtended;
    put(0x18);
    auto put_src = [&] {
        if (src.mode == kModeImmediate)
            word ? put16(src.value) : put8(src.value);
        else if (src.mode == kModeExtended)
            put16(src.value);
        else
            put_indexed(src);
    };
    auto put_dst = [&] {
        if (dst_ext)
            put16(dst.value);
        else
            put_indexed(dst);
    };
    // Second opcode bytes: MOVB 08..0D, MOVW 00..05.
    const uint8_t base = word ? 0x00 : 0x08;
    if (src.mode == kModeImmediate) {
        put(uint8_t(base + (dst_ext ? 3 : 0)));
        if (dst_ext) {
            put_src();
            put_dst();
        } else {
            put_dst();
            put_src();
        }
    } else if (src.mode == kModeExtended) {
        put(uint8_t(base + (dst_ext ? 4 : 1)));
        if (dst_ext) {
            put_src();
            put_dst();
        } else {
            put_dst();
            put_src();
        }
    } else {
        put(uint8_t(base + (dst_ext ? 5 : 2)));
        put_src();
        put_dst();
    }
    return true;
}

// Classes 12 and 13: operand, mask (with or without #) and, for 13, target.
bool Encoder::bits(bool branch) {
    if (e_.encoding_class == EncodingClass::BitOp && !model_check()) return false;
    OperandInfo o;
    if (!operand(o)) return false;
    if (o.mode == kModeImmediate) return fail(Msg::IllegalAddressingModeCaps);
    const int tail = branch ? 2 : 1;
    const int head = prefix_ ? 2 : 1;
    size_indexed(s_, o, head + 1 + tail);
    if (!allowed(o)) return false;
    if (!expect_comma()) return false;
    if (*s_.scan == '#') ++s_.scan;
    ExprValue mask;
    if (!evaluate_operand(s_, mask, true)) return false;
    ExprValue target;
    if (branch) {
        if (!expect_comma()) return false;
        if (!evaluate_operand(s_, target, true)) return false;
    }
    int length = 0;
    put_prefix();
    if (o.mode == kModeDirect) {
        put(prefix_ ? uint8_t(op_ | 5) : uint8_t(op_ | 0x40));
        put_direct(o.value);
    } else if (o.mode == kModeExtended) {
        put(prefix_ ? uint8_t(op_ | 6) : uint8_t(op_ | 0x10));
        put16(o.value);
    } else {
        put(prefix_ ? uint8_t(op_ | 7) : op_);
        put_indexed(o);
    }
    put8(mask.value);
    length = int(n_) + 1;
    if (branch) put_rel8(target.value, length);
    return true;
}

bool Encoder::transfer() {
    const Token a = peek_token(s_, s_.scan, false);
    if (!is_transfer_register(a.code) || *a.end != ',') return fail(Msg::BadRegisters);
    const Token b = peek_token(s_, a.end + 1, false);
    if (!is_transfer_register(b.code)) return fail(Msg::BadRegisters);
    s_.scan = b.end;
    const int postbyte = transfer_postbyte(s_.cpu_model, TransferKind(e_.extra), a.code, b.code);
    if (postbyte < 0) return fail(Msg::IllegalRegisterCombination);
    put(op_);
    put(uint8_t(postbyte));
    return true;
}

bool Encoder::load_address() {
    OperandInfo o;
    if (!operand(o)) return false;
    size_indexed(s_, o, 2);
    if (!is_indexed(o.mode) || !allowed(o)) {
        if (is_indexed(o.mode)) return false;
        return fail(Msg::IllegalAddressingModeCaps);
    }
    put(op_);
    put_indexed(o);
    return true;
}

// JMP / JSR: OR 3 direct (JSR only), OR 2 extended, OR 1 indexed.
bool Encoder::jump() {
    OperandInfo o;
    if (!operand(o)) return false;
    size_indexed(s_, o, 2);
    if (o.mode == kModeImmediate) return fail(Msg::IllegalAddressingModeCaps);
    if (o.mode == kModeDirect && op_ == 0x14) {
        put(uint8_t(op_ | 3));
        put_direct(o.value);
    } else if (o.mode == kModeDirect || o.mode == kModeExtended) {
        put(uint8_t(op_ | 2));
        put16(o.value);
    } else {
        if (!allowed(o)) return false;
        put(uint8_t(op_ | 1));
        put_indexed(o);
    }
    return true;
}

bool Encoder::table() {
    OperandInfo o;
    if (!operand(o)) return false;
    size_indexed(s_, o, 3);
    if (o.mode != kModeIdx5) return fail(Msg::IllegalAdressingMode);
    put(0x18);
    put(0x3D);
    put(o.postbyte);
    return true;
}

bool Encoder::trap() {
    OperandInfo o;
    if (!operand(o)) return false;
    if (o.mode != kModeImmediate) return fail(Msg::IllegalAdressingMode);
    const int32_t v = o.value;
    if (!(fits(v, 0x30, 0x39) || fits(v, 0x40, 0xFF))) report(s_, Msg::UnrecognizedTrap);
    put(0x18);
    put(uint8_t(v));
    return true;
}

void Encoder::run() {
    bool ok = false;
    switch (e_.encoding_class) {
    case EncodingClass::Inherent:
    case EncodingClass::InherentTwoByte: ok = inherent(); break;
    case EncodingClass::General: ok = general(false); break;
    case EncodingClass::ShortBranch: ok = short_branch(); break;
    case EncodingClass::LongBranch: ok = long_branch(); break;
    case EncodingClass::Loop: ok = loop(); break;
    case EncodingClass::Memory: ok = memory(); break;
    case EncodingClass::ImmediateOnly: ok = immediate_only(); break;
    case EncodingClass::Call: ok = call(); break;
    case EncodingClass::Page2Indexed: ok = page2_indexed(); break;
    case EncodingClass::MoveByte: ok = move(false); break;
    case EncodingClass::MoveWord: ok = move(true); break;
    case EncodingClass::BitOp: ok = bits(false); break;
    case EncodingClass::BitBranch: ok = bits(true); break;
    case EncodingClass::Transfer: ok = transfer(); break;
    case EncodingClass::LoadAddress: ok = load_address(); break;
    case EncodingClass::Jump: ok = jump(); break;
    case EncodingClass::Table: ok = table(); break;
    case EncodingClass::Trap: ok = trap(); break;
    case EncodingClass::Store: ok = general(true); break;
    default: ok = fail(Msg::UnknownClass);
    }
    const bool inherent = e_.encoding_class == EncodingClass::Inherent ||
                          e_.encoding_class == EncodingClass::InherentTwoByte;
    if (ok && !inherent && !at_operand_end(s_.scan)) ok = syntax();
    if (!ok) return;
    for (size_t i = 0; i < n_; ++i)
        emit_byte(s_, bytes_[i]);
}

} // namespace

const MnemonicEntry* lookup_mnemonic(AsmSession& s) {
    if (s.cpu_model == kModelXGATE) return lookup_xgate_mnemonic(s.scan);
    return lookup_hc12_mnemonic(s.scan);
}

void encode_instruction(AsmSession& s, const MnemonicEntry& entry) {
    if (is_xgate(entry.encoding_class))
        encode_xgate_instruction(s, entry);
    else
        Encoder(s, entry).run();
}

} // namespace torva
