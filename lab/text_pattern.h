// The regular expressions of text checks: compiled with RE2, which matches
// in time linear in the text and without recursion, so a long serial output
// under any pattern neither hangs a run nor overflows its stack.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace re2 {
class RE2;
}

namespace torva::lab {

using TextPattern = std::shared_ptr<const re2::RE2>;

// The pattern compiled, or null with RE2's reason in error.
TextPattern compile_pattern(const std::string& pattern, std::string& error);
// Where the leftmost match in text ends, or none without a match.
std::optional<size_t> match_end(const re2::RE2& pattern, std::string_view text);

} // namespace torva::lab
