// Text patterns over RE2, kept to this file.
#include "lab/text_pattern.h"

#include <re2/re2.h>

namespace torva::lab {

TextPattern compile_pattern(const std::string& pattern, std::string& error) {
    RE2::Options options;
    // A byte is a character, as the board sends them: serial output and
    // display text need not be UTF-8. A UTF-8 letter in the pattern still
    // matches the same bytes sent.
    options.set_encoding(RE2::Options::EncodingLatin1);
    options.set_log_errors(false);
    auto compiled = std::make_shared<const RE2>(pattern, options);
    if (!compiled->ok()) {
        error = compiled->error();
        return nullptr;
    }
    return compiled;
}

std::optional<size_t> match_end(const re2::RE2& pattern, std::string_view text) {
    re2::StringPiece whole(text.data(), text.size());
    re2::StringPiece match;
    if (!pattern.Match(whole, 0, whole.size(), RE2::UNANCHORED, &match, 1)) return std::nullopt;
    return size_t(match.data() - whole.data()) + match.size();
}

} // namespace torva::lab
