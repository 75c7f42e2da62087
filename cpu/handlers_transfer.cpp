// TFR, EXG and SEX: register transfers selected by the $B7 postbyte.
#include "cpu/cpu.h"

namespace torva {

namespace {
// Postbyte register codes; bit 3 of the destination does not name a
// register, so names go by the low three bits.
constexpr const char* kRegName[] = {"A", "B", "CCR", "TMP2", "D", "X", "Y", "SP"};
constexpr bool is_wide(int code) {
    return code >= 4;
}
} // namespace

void Cpu::op_transfer(const OpcodeEntry&, bool execute) {
    // Postbyte: bit 7 EXG (else TFR), bits 6-4 source, bits 3-0 destination.
    const uint8_t pb = fetch_byte();
    const bool exchange = (pb & 0x80) != 0;
    const int source = (pb >> 4) & 7;
    const int destination = pb & 0x0F;
    const bool undefined = source == 3 || destination == 8 || destination == 10 ||
                           destination >= 12 || (destination == 9 && source != 0);
    if (undefined) {
        // The postbyte is given back; the step reports the opcode as data.
        --ctx.fetch_address;
        take_back(2);
        ctx.illegal = 1;
        return;
    }
    // These destinations name no register: a 2-byte no-operation.
    const bool no_transfer = destination == 3 || destination == 11 || destination == 9;
    const int dest = destination & 7;
    const char* mnemonic = exchange                            ? "EXG   "
                           : !is_wide(source) && is_wide(dest) ? "SEX   "
                                                               : "TFR   ";
    if (dest == 2) {
        trace(mnemonic);
        tracef("%s,%s", kRegName[source], kRegName[dest]);
    } else {
        tracef("%s%s,%s", mnemonic, kRegName[source], kRegName[dest]);
    }
    if (!execute) return;
    take_back(1);
    if (no_transfer) return;

    const Reg src_reg = Reg(source);
    const Reg dst_reg = Reg(dest);
    const uint16_t s = reg_value(src_reg);
    const uint16_t d = reg_value(dst_reg);
    if (!exchange) {
        // An 8-bit source into a 16-bit register is sign-extended.
        set_reg(dst_reg, !is_wide(source) && is_wide(dest) ? uint16_t(int16_t(int8_t(s))) : s);
        return;
    }
    if (is_wide(source) == is_wide(dest)) {
        set_reg(dst_reg, s);
        set_reg(src_reg, d);
        return;
    }
    // Mixed widths: the 8-bit register takes the low byte of the 16-bit
    // one; the 16-bit register takes the 8-bit value with $00 above it when
    // the 8-bit register is named first, $FF when it is named second. The
    // 16-bit register is written last, which matters for D and A or B.
    if (is_wide(dest)) {
        set_reg(src_reg, uint8_t(d));
        set_reg(dst_reg, uint16_t(s & 0xFF));
    } else {
        set_reg(dst_reg, uint8_t(s));
        set_reg(src_reg, uint16_t(0xFF00 | (d & 0xFF)));
    }
}

} // namespace torva
