// Code folding in the fold margin: keeping headers expanded as they appear,
// showing the lines of a header that goes away, and the margin's clicks.
#pragma once

#include "editor/scintilla_call.h"

namespace torva {

// The component reported a changed fold level of line (SCN_MODIFIED).
void fold_changed(const SciCall& sci, int line, int level_now, int level_before);

// A click in the fold margin at position with the modifier bits
// (sci::SCMOD_SHIFT, sci::SCMOD_CTRL).
void fold_margin_click(const SciCall& sci, long position, int modifiers);

// Expands every top-level fold when the first one is contracted (or there is
// none), else contracts them all.
void fold_all(const SciCall& sci);

} // namespace torva
