// Operand forms: #imm, <direct, >extended, expr, ,r, a,r, n,r, n,+r, n,r-,
// [D,r], [n,r]. Postbyte layouts (CPU12 indexed addressing):
//   rr0nnnnn  5-bit offset          111rr0zs  9-bit (z=0) / 16-bit (z=1,s=0)
//   rr1pnnnn  increment/decrement   111rr1aa  accumulator offset (A, B, D)
//   111rr011  [n,r]                 111rr111  [D,r]
#include "asm/operand_parser.h"

#include "asm/expression.h"
#include "asm/mnemonics.h"
#include "asm/session.h"

namespace torva {

namespace {

// rr of an index register token, or -1. PCR counts as PC.
int index_register(int token) {
    switch (token) {
    case kTokRegX: return 0;
    case kTokRegY: return 1;
    case kTokRegSP: return 2;
    case kTokRegPC:
    case kTokRegPCR: return 3;
    default: return -1;
    }
}

int accumulator(int token) {
    switch (token) {
    case kTokRegA: return 0;
    case kTokRegB: return 1;
    case kTokRegD: return 2;
    default: return -1;
    }
}

bool fits(int32_t v, int32_t lo, int32_t hi) {
    return v >= lo && v <= hi;
}

} // namespace

bool parse_operand(AsmSession& s, OperandInfo& op) {
    op = OperandInfo{};
    const char* p = s.scan;
    ExprValue ev;
    if (*p == '#' || *p == '<' || *p == '>') {
        op.mode = *p == '#' ? kModeImmediate : *p == '<' ? kModeDirect : kModeExtended;
        s.scan = p + 1;
        if (!evaluate_operand(s, ev, true)) return false;
        op.value = ev.value;
        op.forward = ev.forward;
        return true;
    }
    const bool indirect = *p == '[';
    if (indirect) ++p;
    op.indirect = indirect;
    s.scan = p;
    if (!evaluate_operand(s, ev, false)) {
        // No expression: ,r  a,r  [D,r]
        const Token first = peek_token(s, p, false);
        const int acc = accumulator(first.code);
        if (acc >= 0) {
            p = first.end;
            if (*p != ',') return false;
            const Token reg = peek_token(s, p + 1, false);
            const int rr = index_register(reg.code);
            if (rr < 0 || reg.code == kTokRegPCR) return false;
            p = reg.end;
            op.index_reg = rr;
            if (indirect) {
                if (acc != 2 || *p != ']') return false;
                op.mode = kModeIdxD;
                op.postbyte = uint8_t(0xE7 | rr << 3);
                s.scan = p + 1;
                return true;
            }
            op.mode = kModeIdx5;
            op.postbyte = uint8_t(0xE4 | rr << 3 | acc);
            s.scan = p;
            return true;
        }
        if (*p != ',' || indirect) return false;
        const Token reg = peek_token(s, p + 1, false);
        const int rr = index_register(reg.code);
        if (rr < 0) return false;
        op.mode = kModeIdx5;
        op.index_reg = rr;
        op.postbyte = uint8_t(rr << 6);
        s.scan = reg.end;
        return true;
    }
    op.value = ev.value;
    op.forward = ev.forward;
    p = s.scan;
    if (*p != ',') {
        if (indirect) return false;
        op.mode = kModeExtended;
        return true;
    }
    // expr,r with an optional + or - before or after r.
    const char* q = p + 1;
    char pre = 0;
    if (*q == '+' || *q == '-') pre = *q++;
    const Token reg = peek_token(s, q, false);
    const int rr = index_register(reg.code);
    if (rr < 0) {
        // Another register is an error; anything else belongs to the caller
        // (bset addr,mask).
        // (A register that opens the next operand, as in movb $1000,b,x, is
        // no part of this one.)
        const bool next_operand = accumulator(reg.code) >= 0 && *reg.end == ',';
        if (pre || (is_register_token(reg.code) && !next_operand)) return false;
        if (indirect) return false;
        op.mode = kModeExtended;
        return true;
    }
    q = reg.end;
    char post = 0;
    if (!pre && (*q == '+' || *q == '-')) post = *q++;
    op.index_reg = rr;
    op.pcr = reg.code == kTokRegPCR;
    if (pre || post) {
        if (rr == 3 || indirect) return false;
        int32_t v = op.value;
        // Pass 1 may not know a forward count yet; its size is the same.
        if (op.forward && s.pass == 0) v = 1;
        if (!fits(v, 1, 8)) return false;
        const bool decrement = (pre ? pre : post) == '-';
        const int nnnn = decrement ? (16 - v) & 0x0F : v - 1;
        op.mode = kModeIdx5;
        op.postbyte = uint8_t(rr << 6 | 0x20 | (post ? 0x10 : 0) | nnnn);
        s.scan = q;
        return true;
    }
    if (indirect) {
        if (*q != ']') return false;
        ++q;
    }
    op.sized_later = true;
    op.mode = indirect ? kModeIdx16Ind : kModeIdx16;
    s.scan = q;
    return true;
}

void size_indexed(const AsmSession& s, OperandInfo& op, int fixed_length) {
    if (!op.sized_later) return;
    const int rr = op.index_reg;
    auto offset_for = [&](int bytes) {
        return op.pcr
                   ? int32_t(uint32_t(op.value) - (s.line_start + uint32_t(fixed_length + bytes)))
                   : op.value;
    };
    if (op.indirect) {
        op.mode = kModeIdx16Ind;
        op.postbyte = uint8_t(0xE3 | rr << 3);
        op.offset_bytes = 2;
        op.offset = offset_for(2);
        return;
    }
    if (!op.forward) {
        const int32_t five = offset_for(0);
        if (fits(five, -16, 15)) {
            op.mode = kModeIdx5;
            op.postbyte = uint8_t(rr << 6 | (five & 0x1F));
            op.offset_bytes = 0;
            op.offset = five;
            return;
        }
        const int32_t nine = offset_for(1);
        if (fits(nine, -256, 255)) {
            op.mode = kModeIdx9;
            op.postbyte = uint8_t(0xE0 | rr << 3 | (nine < 0 ? 1 : 0));
            op.offset_bytes = 1;
            op.offset = nine;
            return;
        }
    }
    op.mode = kModeIdx16;
    op.postbyte = uint8_t(0xE2 | rr << 3);
    op.offset_bytes = 2;
    op.offset = offset_for(2);
}

} // namespace torva
