// The Watch window without the window: rows of an expression (a symbol,
// symbol+n, an address or a register) and a format, their values read
// without side effects, which changed since the last look, and edits that
// write memory by the memory pane's rules.
#pragma once

#include "sim/debug_map.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace torva {

class Cpu;
class MemoryMap;

enum class WatchFormat {
    kHexByte,
    kHexWord,
    kUnsignedByte,
    kUnsignedWord,
    kSignedByte,
    kSignedWord,
    kChar,
    kString,    // count characters
    kByteArray, // count bytes, hex
    kWordArray, // count words, hex
};

struct WatchFormatName {
    WatchFormat format;
    std::string_view name;
    bool counted; // takes a count (string, arrays)
};
// The formats in the order the window offers them, with their names.
std::span<const WatchFormatName> watch_formats();

// Where a row's value lives: memory from an address, or a register.
struct WatchTarget {
    bool is_register = false;
    int register_number = 0; // kRegPc.. kRegY; -1 for D (A:B)
    uint32_t address = 0;
};

// Reads an expression: a register name (A, B, D, X, Y, SP, PC, CCR), an
// address ($1000, 0x1000 or hex digits), or a symbol of the map with an
// optional +n or -n. None with the reason in `error`.
std::optional<WatchTarget> parse_watch_expression(std::string_view text, const DebugMap* map,
                                                  std::string* error = nullptr);

struct WatchRow {
    std::string expression;
    WatchFormat format = WatchFormat::kHexByte;
    int count = 1;
    // Filled by refresh:
    std::string value;    // the text shown
    bool changed = false; // differs from the look before
    std::string error;    // why no value ("" when there is one)
};

class WatchList {
public:
    // The most characters, bytes or words a row shows.
    static constexpr int kMaxCount = 64;

    WatchList(MemoryMap& memory, Cpu& cpu) : memory_(memory), cpu_(cpu) {}

    std::vector<WatchRow>& rows() { return rows_; }
    const std::vector<WatchRow>& rows() const { return rows_; }
    void add(std::string expression, WatchFormat format, int count = 1);
    void remove(size_t index);

    // Reads every row again; a row whose text differs from the last
    // refresh is marked changed.
    void refresh(const DebugMap* map);
    // Writes a value typed in the row's format (hex for hex formats and
    // arrays, decimal for decimal ones, the characters for char and string).
    // Memory that does not take the write (ROM without write enable, a
    // read-only cell) is refused; gives the reason, or "" when written.
    std::string edit(size_t index, std::string_view text, const DebugMap* map);

private:
    std::optional<std::vector<uint8_t>> read_bytes(uint32_t address, int count) const;
    std::string value_text(const WatchRow& row, const WatchTarget& target) const;

    MemoryMap& memory_;
    Cpu& cpu_;
    std::vector<WatchRow> rows_;
};

} // namespace torva
