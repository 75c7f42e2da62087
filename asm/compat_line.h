// Source lines written for other HCS12 assemblers, rewritten into the form
// the statement parser reads.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace torva {

// Rewrites one source line of the compatibility dialect: blanks before and
// after a comma in the operand field (and inside parentheses or brackets)
// are dropped, a ';' right after the operand opens the comment, an indented
// "label:" moves to the start of the line, "#include", ".include" and an
// INCLUDE name in single quotes or angle brackets become INCLUDE "name", and
// the accumulator-letter mnemonics (lda, stb, ...) get their full names
// (not for XGATE, whose LDB and STB are instructions of their own).
// `line` must be followed by a NUL, as a std::string's text is. `columns`
// receives, for each byte of `text`, the column it came from. Returns
// false when the line reads the same in both dialects; `text` and
// `columns` then hold nothing of use (they are scratch buffers the caller
// keeps, so that no line allocates).
bool rewrite_compat_line(std::string_view line, bool xgate, std::string& text,
                         std::vector<uint32_t>& columns);

} // namespace torva
