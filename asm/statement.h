// Statement processing: label, operation word and operands of one line.
#pragma once

namespace torva {

struct AsmSession;

// Handles the line in s.line (both passes). Returns true when conditional
// assembly skipped the line.
bool process_statement(AsmSession& s);

} // namespace torva
