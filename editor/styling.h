// The one-time set-up of a document's editing component for its file type:
// lexer, default font, style colours, keyword sets, margins, folding, markers.
#pragma once

#include "editor/scintilla_call.h"

namespace torva {

// File types by extension (letter case ignored).
enum FileType : int {
    kFileOther = 0,            // anything else
    kFileAsm = 1,              // "asm", "s12"
    kFileC = 2,                // "c"
    kFileHeader = 3,           // "h"
    kFileLinker = 4,           // "lsc"
    kFileAdaBody = 10,         // "adb"
    kFileAdaDeclarations = 11, // "ads"
};

// The margins, left to right: line numbers, markers (breakpoints, the
// current line, bookmarks; a click toggles a breakpoint), folding.
inline constexpr int kLineNumberMargin = 0;
inline constexpr int kMarkerMargin = 1;
inline constexpr int kFoldMargin = 2;

// The lexer that colours a file type.
int lexer_for(int file_type);

// Sends the whole set-up sequence; called once before the file is loaded.
void set_up_component(const SciCall& sci, int file_type);

} // namespace torva
