// Instruction encoding: one routine per encoding class, run in both passes
// (pass 1 only counts the bytes), so the passes cannot disagree on a length.
#pragma once

namespace torva {

struct AsmSession;
struct MnemonicEntry;

// Finds the mnemonic at s.scan for the current CPU model and moves past it.
const MnemonicEntry* lookup_mnemonic(AsmSession& s);

// Parses the operands at s.scan and emits the instruction's code. Nothing
// is emitted when the instruction cannot be encoded.
void encode_instruction(AsmSession& s, const MnemonicEntry& entry);

} // namespace torva
