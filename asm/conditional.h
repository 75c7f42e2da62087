// Conditional assembly: the #if family, its dot forms, #define and #error.
#pragma once

namespace torva {

struct AsmSession;

enum ConditionalCode {
    kCondIf = 43,
    kCondElse = 44,
    kCondEndif = 45,
    kCondElif = 46,
    kCondIfdef = 47,
    kCondDefine = 48,
    kCondIfndef = 49,
    kCondError = 50
};

// When the line's first word is a conditional directive, handles it and
// returns true (the line is then done).
bool handle_conditional(AsmSession& s);

// Back to "outside any conditional" (at the start of each pass).
void reset_conditionals(AsmSession& s);

} // namespace torva
