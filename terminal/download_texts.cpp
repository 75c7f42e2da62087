// Filling the download's and the bootstrap's message texts.
#include "terminal/download_texts.h"

#include <cstdio>

namespace torva {
namespace {

template <typename... Values>
std::string formatted(const char* format, Values... values) {
    const int length = std::snprintf(nullptr, 0, format, values...);
    if (length <= 0) return format;
    std::string text(size_t(length) + 1, '\0');
    std::snprintf(text.data(), text.size(), format, values...);
    text.pop_back();
    return text;
}

} // namespace

std::string message_with_text(const char* format, const std::string& text) {
    return formatted(format, text.c_str());
}

std::string message_with_char(const char* format, char character) {
    return formatted(format, character);
}

std::string message_with_count(const char* format, long number) {
    return formatted(format, int(number));
}

std::string loading_line_text(int line, int lines) {
    return formatted(download_message::kLoadingLine, line, lines);
}

std::string stopped_after_text(int lines_sent, int lines) {
    return formatted(download_message::kStoppedAfter, lines_sent, lines);
}

} // namespace torva
