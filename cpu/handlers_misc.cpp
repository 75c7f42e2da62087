// Instructions decoded for their length and text but not modelled: NOP,
// MEM, BGND, the fuzzy-logic and table instructions and EMACS.
#include "cpu/cpu.h"
#include "cpu/decode_operand.h"

namespace torva {

void Cpu::op_not_modelled(const OpcodeEntry& e, bool execute) {
    switch (e.family) {
    case Family::Idle: // MEM, BGND
        trace(e.mnemonic);
        if (execute) ctx.cycles += 4;
        break;
    case Family::Marker: tracef("%s ui", e.mnemonic); break;
    case Family::Table:
        // The operand is decoded for its bytes and text only: no
        // auto-increment happens.
        tracef("%s (ui)", e.mnemonic);
        decode_operand(false, OperandAccess::Read, 0, false, e.mode);
        break;
    case Family::Emacs:
        trace("EMACS (ui)");
        fetch_byte();
        fetch_byte();
        break;
    default: trace(e.mnemonic); break; // NOP
    }
}

} // namespace torva
