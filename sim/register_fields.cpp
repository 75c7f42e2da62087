// Register field texts and their parsing.
#include "sim/register_fields.h"

#include "sim/debug_map.h"

#include <charconv>
#include <cinttypes>
#include <cstdio>

namespace torva {

std::string format_number(int base, int width, uint64_t value) {
    char text[80];
    if (base == 16) {
        if (width != 8 && width != 16 && width != 32 && width != 64) return {};
        if (width < 64) value &= (uint64_t(1) << width) - 1;
        std::snprintf(text, sizeof text, "%0*" PRIX64, width / 4, value);
        return text;
    }
    if (base == 10) {
        std::snprintf(text, sizeof text, "%" PRId64, int64_t(value));
        return text;
    }
    if (base == 2 && (width == 3 || width == 8 || width == 16 || width == 32)) {
        std::string digits;
        for (int bit = width - 1; bit >= 0; --bit)
            digits += (value >> bit & 1) != 0 ? '1' : '0';
        return digits;
    }
    return {};
}

std::optional<uint64_t> parse_number(int base, std::string_view text) {
    if (base != 2 && base != 10 && base != 16) return std::nullopt;
    if (text.empty()) return 0; // an emptied field means 0
    uint64_t value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value, base);
    if (error != std::errc() || stop != end) return std::nullopt;
    return value;
}

std::string register_text(const Cpu& cpu, int number) {
    return format_number(Cpu::register_radix(number), Cpu::register_width(number),
                         cpu.get_register(number));
}

void apply_register_fields(Cpu& cpu, const std::array<std::string, kRegisterFields.size()>& texts,
                           const DebugMap* map) {
    for (size_t i = 0; i < kRegisterFields.size(); ++i) {
        const int number = kRegisterFields[i];
        // A number wins over a symbol spelt in the field's digits.
        auto value = parse_number(Cpu::register_radix(number), texts[i]);
        if (!value && map)
            if (const DebugMapSymbol* symbol = map->symbol(texts[i])) value = symbol->value;
        if (value) cpu.set_register(number, uint32_t(*value));
    }
}

} // namespace torva
