// The values of a lab file read into the lab's terms, for the lab and check
// readers: a value of the wrong kind or out of range throws a LabFault that
// names where it is written and what is wrong.
#pragma once

#include "lab/lab.h"
#include "lab/toml_document.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace torva::lab {

struct LabFault {
    SourceSpot spot;
    std::string text;
};
[[noreturn]] void fail(SourceSpot spot, std::string text);
[[noreturn]] void fail(const TomlNode& node, std::string text);

// 'text', as messages quote names.
std::string in_quotes(std::string_view text);
// The words with commas between, empty ones left out.
std::string joined(std::span<const std::string_view> words);
// The closest of the words to a misspelt one (two slips at most), or "".
std::string_view closest(std::string_view word, std::span<const std::string_view> words);
// Every key of the table must be one it may hold; a misspelt one is named
// with the key it was probably meant to be.
void check_keys(const TomlNode& table, std::span<const std::string_view> allowed,
                std::string_view where);
inline const TomlNode* find(const TomlNode& table, std::string_view key) {
    return table.find(key);
}

std::string string_value(const TomlNode& node, std::string_view key);
bool bool_value(const TomlNode& node, std::string_view key);
int64_t integer_value(const TomlNode& node, std::string_view key, int64_t low, int64_t high);
uint8_t byte_value(const TomlNode& node, std::string_view key);
// A number of cycles or a time with its unit; "end" where allowed.
Cycles time_value(const TomlNode& node, std::string_view key, bool end_allowed);
Window window_value(const TomlNode& node, std::string_view key);
// A time must not lie after the lab's time limit.
void check_time(const TomlNode& node, Cycles t, const Lab& lab, std::string_view key);
// "$1F", "0x1F" or decimal; none for anything else or beyond 32 bits.
std::optional<uint32_t> parse_number(std::string_view text);
// An address, or a label of the program with an optional "+N" or "-N".
Location location_value(const TomlNode& node, std::string_view key);
const BoardPlace& place_value(const TomlNode& node, std::string_view key);
// The message for a place the board lacks, naming the closest one.
std::string no_place(std::string_view key, const std::string& name);
// "swi", "bgnd" or a location.
StopPoint stop_value(const TomlNode& node);

} // namespace torva::lab
