// Tooltip texts of symbols: value, and the bytes of data labels.
#include "sim/symbol_tip.h"

#include "io/memory_map.h"
#include "sim/debug_map.h"

#include <cstdio>

namespace torva {

namespace {

// Four hex digits for a 16-bit value, six for a paged address, else eight.
std::string hex_value(uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text,
                  value <= 0xFFFF     ? "$%4.4X"
                  : value <= 0xFFFFFF ? "$%6.6X"
                                      : "$%8.8X",
                  unsigned(value));
    return text;
}

} // namespace

bool is_data_label(const DebugMap& map, const DebugMapSymbol& symbol, bool data_line) {
    if (symbol.kind != SymbolKind::kLabel) return false;
    return data_line || !map.place_of(symbol.value).valid();
}

std::string symbol_tip(const DebugMapSymbol& symbol, bool data, const MemoryMap& memory) {
    // Values past 31 bits are negative numbers the assembler keeps in 32.
    const long long decimal =
        symbol.value >= 0x80000000u ? (long long)int32_t(symbol.value) : (long long)symbol.value;
    std::string tip =
        symbol.name + " = " + hex_value(symbol.value) + " (" + std::to_string(decimal) + ")";
    if (!data) return tip;
    tip += '\n' + hex_value(symbol.value) + ':';
    std::string characters;
    for (int i = 0; i < kSymbolTipBytes; ++i) {
        // A 16-bit address wraps within the 64K map, as the CPU's does.
        const uint32_t address =
            symbol.value <= 0xFFFF ? (symbol.value + uint32_t(i)) & 0xFFFF : symbol.value + i;
        uint8_t byte = 0;
        if (memory.peek_byte(address, byte) != 0) {
            tip += " ??";
            characters += '?';
            continue;
        }
        char text[4];
        std::snprintf(text, sizeof text, " %2.2X", unsigned(byte));
        tip += text;
        characters += byte >= 0x20 && byte < 0x7F ? char(byte) : '.';
    }
    return tip + "  " + characters;
}

} // namespace torva
