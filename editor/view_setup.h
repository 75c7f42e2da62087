// The view a programmer expects of every document, beyond its styling: a
// line-number margin that fits the line count, and a horizontal scroll bar
// only while some line is wider than the window.
#pragma once

#include "editor/scintilla_call.h"

namespace torva {

// Margin 0 shows line numbers; the scroll width follows the widest line
// shown so far.
void set_up_view(const SciCall& sci);

// Sizes margin 0 for the current line count (at least three digits);
// cheap when nothing changed.
void fit_line_number_margin(const SciCall& sci);

} // namespace torva
