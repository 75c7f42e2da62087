// Reading and showing the bootstrap dialog's fields.
#include "terminal/bootstrap_dialog_values.h"

#include <charconv>
#include <cstdio>

namespace torva::bootstrap_dialog {

int size_button(uint32_t size) {
    switch (size) {
    case 0: return kSizeFile;
    case 192: return kSize192;
    case 256: return kSize256;
    default: return kSizeOther;
    }
}

uint32_t size_from(int button, std::string_view other) {
    switch (button) {
    case kSize192: return 192;
    case kSize256: return 256;
    case kSizeOther: {
        const int32_t size = parse_decimal(other);
        return size > 0 ? uint32_t(size) : 0;
    }
    default: return 0;
    }
}

std::string offset_text(int32_t offset) {
    char text[16];
    std::snprintf(text, sizeof text, "%2.2X", static_cast<unsigned>(offset));
    return text;
}

std::optional<int32_t> parse_offset(std::string_view text) {
    size_t pos = 0;
    const bool negative = pos < text.size() && text[pos] == '-';
    if (negative) ++pos;
    if (text.substr(pos, 2) == "0x" || text.substr(pos, 2) == "0X") pos += 2;
    uint64_t value = 0;
    for (; pos < text.size(); ++pos) {
        const unsigned char c = static_cast<unsigned char>(text[pos]);
        if (c <= ' ' || c == 127 || c == ':') break;
        int digit = -1;
        if (c >= '0' && c <= '9') digit = c - '0';
        if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
        if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
        if (digit < 0) return std::nullopt;
        value = value << 4 | uint64_t(digit);
        if (value > UINT32_MAX) return std::nullopt;
    }
    const auto bits = static_cast<uint32_t>(value);
    return static_cast<int32_t>(negative ? 0u - bits : bits);
}

int32_t parse_decimal(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    int32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() ? value : 0;
}

} // namespace torva::bootstrap_dialog
