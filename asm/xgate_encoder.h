// Encoders for the XGATE encoding classes: one or two 16-bit instruction
// words per statement, run in both passes like the HC12 encoders.
#pragma once

namespace torva {

struct AsmSession;
struct MnemonicEntry;

// Parses the operands at s.scan and emits the instruction words.
void encode_xgate_instruction(AsmSession& s, const MnemonicEntry& entry);

} // namespace torva
