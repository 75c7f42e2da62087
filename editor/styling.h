// The one-time set-up of a document's editing component for its file type:
// lexer, default font, style colours, keyword sets, margins, folding, markers.
#pragma once

#include "editor/document_files.h"
#include "editor/scintilla_call.h"

namespace torva {

// The margins, left to right: line numbers, markers (breakpoints, the
// current line, bookmarks; a click toggles a breakpoint), folding.
inline constexpr int kLineNumberMargin = 0;
inline constexpr int kMarkerMargin = 1;
inline constexpr int kFoldMargin = 2;

// The line markers by number (the folding markers take 25 to 31).
namespace marker {
inline constexpr int kBreakpoint = 0;
inline constexpr int kDisabledBreakpoint = 1;
inline constexpr int kGoToLine = 3;
inline constexpr int kCurrentLine = 4; // the simulator's, an arrow
inline constexpr int kCurrentLineBackground = 5;
} // namespace marker

// The lexer that colours a file type.
int lexer_for(int file_type);

// Sends the whole set-up sequence; called once before the file is loaded.
void set_up_component(const SciCall& sci, int file_type);

} // namespace torva
