// The byte emitter shared by directives and instructions, and the S-record
// writer behind it (pass 2 only).
#pragma once

#include <cstdint>

namespace torva {

struct AsmSession;

// Pass 1: advance the location counter. Pass 2: also record the bytes for
// the listing and pass them to the S-record writer. emit_byte marks the
// line as listed in bytes; words and longs keep it in word mode.
void emit_byte(AsmSession& s, uint8_t b);
void emit_word(AsmSession& s, uint16_t w);
void emit_long(AsmSession& s, uint32_t l);
// Reserved storage: zero bytes in the S-record file (none in the
// compatibility dialect), none in the listing.
void emit_storage(AsmSession& s, uint32_t count);

// Writes the current data record (if it holds data) and starts a new one.
void srecord_start(AsmSession& s, uint32_t address);
// Writes the last data record and the end record with the start address.
void srecord_finish(AsmSession& s);

} // namespace torva
