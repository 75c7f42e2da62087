// Directives: three name tables mapped to one DirectiveCode, and each
// directive's effect.
#pragma once

#include <string_view>

namespace torva {

struct AsmSession;

enum DirectiveCode : int {
    kDirInclude = 1,
    kDirList = 2,
    kDirListcond = 3,
    kDirNolist = 4,
    kDirNolistcond = 5,
    kDirOrg = 6,
    kDirEqu = 7,
    kDirSet = 8,
    kDirEnd = 9,
    kDirByte = 10,
    kDirWord = 11,
    kDirLong = 12,
    kDirFloat = 13,
    kDirDouble = 14,
    kDirSpace = 15,
    kDirSpaceW = 16,
    kDirSpaceL = 17,
    kDirAscii = 19,
    kDirAsciiz = 20,
    kDirEntry = 21,
    kDirExit = 22,
    kDirFunction = 23,
    kDirFile = 24,
    kDirGlobal = 25,
    kDirXdef = 26,
    kDirExtern = 27,
    kDirXref = 28,
    kDirPublic = 29,
    kDirSegment = 30,
    kDirBss = 31,
    kDirData = 32,
    kDirText = 33,
    kDirRodata = 35,
    kDirFarseg = 36,
    kDirAlign = 38,
    kDirOption = 41,
    kDirPragma = 42,
    // Other assemblers' names (the compatibility dialect only).
    kDirAbsEntry = 60, // ABSENTRY: the entry point, not an old form
    kDirFcc = 61,      // FCC: a string between any two equal delimiters
};

// The directive code of an operation word (any case); 0 when none. With
// `compat` other assemblers' names are known too.
int lookup_directive(std::string_view word, bool compat = false);

// Whether the operation of a source line lists or reserves data (FCB, FCC,
// DC.B, RMB, DS, ...; the other assemblers' names too): a label on such a
// line names data, not code.
bool is_data_line(std::string_view line);

// Executes a directive; s.scan is at its operand. `label` is the
// statement's label (may be empty); `label_used` is set when the directive
// defined the label itself.
void execute_directive(AsmSession& s, int code, std::string_view label, bool& label_used);

} // namespace torva
