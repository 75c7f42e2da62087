// Target search and replace in one editing component: one search between
// two positions, and the replacement of every match as one undo action.
#pragma once

#include "editor/scintilla_call.h"

#include <optional>
#include <string>

namespace torva {

struct TextMatch {
    long start;
    long end;
};

// Searches for text between from and to; to below from searches backwards
// and finds the last match that ends at or before from.
std::optional<TextMatch> search_in_target(const SciCall& sci, long from, long to,
                                          const std::string& text, int flags);

// Replaces the target with text and returns the replacement's length.
long replace_target(const SciCall& sci, long start, long end, const std::string& text);

// Replaces every match of find in the whole text by replace, each search
// going on after the inserted text (never inside it), as one undo action;
// the caret lands after the last replacement. Returns the number of
// replacements (0: the text is unchanged).
int replace_all(const SciCall& sci, const std::string& find, const std::string& replace, int flags);

} // namespace torva
