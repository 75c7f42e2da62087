// Reading the values of a lab file: each key's value checked for its kind
// and range and turned into the lab's own terms; a fault throws LabFault,
// which the reader turns into one message.
#include "lab/lab_values.h"

#include <algorithm>
#include <cctype>
#include <vector>

namespace torva::lab {
namespace {

size_t edit_distance(std::string_view a, std::string_view b) {
    std::vector<size_t> row(b.size() + 1);
    for (size_t j = 0; j <= b.size(); ++j)
        row[j] = j;
    for (size_t i = 1; i <= a.size(); ++i) {
        size_t diagonal = row[0];
        row[0] = i;
        for (size_t j = 1; j <= b.size(); ++j) {
            const size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] != b[j - 1])});
            diagonal = above;
        }
    }
    return row[b.size()];
}

bool is_label_start(char c) {
    return std::isalpha(static_cast<unsigned char>(c)) || c == '_' || c == '.';
}

bool is_label_char(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '.' || c == '$';
}

std::string place_names() {
    std::vector<std::string_view> names;
    for (const BoardPlace& place : kPlaces)
        names.push_back(place.name);
    return joined(names);
}

} // namespace

[[noreturn]] void fail(SourceSpot spot, std::string text) {
    throw LabFault{spot, std::move(text)};
}
[[noreturn]] void fail(const TomlNode& node, std::string text) {
    fail(node.spot, std::move(text));
}

std::string in_quotes(std::string_view text) {
    std::string quoted(1, '\'');
    quoted += text;
    quoted += '\'';
    return quoted;
}

std::string joined(std::span<const std::string_view> words) {
    std::string text;
    for (const std::string_view word : words) {
        if (word.empty()) continue;
        if (!text.empty()) text += ", ";
        text += word;
    }
    return text;
}

// The closest of the words to a misspelt one, or "".
std::string_view closest(std::string_view word, std::span<const std::string_view> words) {
    std::string_view best;
    size_t best_distance = 3;
    for (const std::string_view candidate : words) {
        const size_t distance = edit_distance(word, candidate);
        if (distance < best_distance) {
            best = candidate;
            best_distance = distance;
        }
    }
    return best;
}

// Every key of the table must be one the table may hold; a misspelt one is
// named with the key it was probably meant to be.
void check_keys(const TomlNode& table, std::span<const std::string_view> allowed,
                std::string_view where) {
    for (const auto& entry : table.entries()) {
        const TomlKey& key = *entry.first;
        const std::string_view name = key.name;
        if (std::ranges::find(allowed, name) != allowed.end()) continue;
        std::string text = "unknown key " + in_quotes(name) + " in " + std::string(where);
        const std::string_view best = closest(name, allowed);
        if (!best.empty()) text += " (did you mean " + in_quotes(best) + "?)";
        fail(key.spot, text);
    }
}

std::string string_value(const TomlNode& node, std::string_view key) {
    if (const auto* text = node.as_string()) return (*text);
    fail(node, std::string(key) + " takes a text in quotes");
}

bool bool_value(const TomlNode& node, std::string_view key) {
    if (const auto* flag = node.as_boolean()) return (*flag);
    fail(node, std::string(key) + " takes true or false");
}

int64_t integer_value(const TomlNode& node, std::string_view key, int64_t low, int64_t high) {
    const auto* number = node.as_integer();
    if (!number) fail(node, std::string(key) + " takes a whole number");
    const int64_t value = (*number);
    if (value < low || value > high)
        fail(node, std::string(key) + " must lie between " + std::to_string(low) + " and " +
                       std::to_string(high));
    return value;
}

uint8_t byte_value(const TomlNode& node, std::string_view key) {
    return uint8_t(integer_value(node, key, 0, 255));
}

// A time: a number of cycles, or a text with its unit; "end" where allowed.
Cycles time_value(const TomlNode& node, std::string_view key, bool end_allowed) {
    if (const auto* number = node.as_integer()) {
        if ((*number) < 0) fail(node, std::string(key) + " cannot be negative");
        return Cycles((*number));
    }
    if (const auto* text = node.as_string()) {
        if (end_allowed && (*text) == "end") return kEnd;
        if (const auto cycles = parse_time((*text))) return *cycles;
    }
    fail(node, std::string(key) +
                   " takes a time with its unit (\"20ms\", \"1.5s\", \"250us\", \"100 cycles\") "
                   "or a number of cycles");
}

Window window_value(const TomlNode& node, std::string_view key) {
    if (const auto* text = node.as_string())
        if (const auto window = parse_window((*text))) return *window;
    fail(node, std::string(key) + " takes a window \"FROM..UNTIL\" such as \"5ms..\", "
                                  "\"..50ms\" or \"10ms..80ms\"");
}

std::optional<uint32_t> parse_number(std::string_view text) {
    int base = 10;
    if (text.starts_with('$')) {
        text.remove_prefix(1);
        base = 16;
    } else if (text.starts_with("0x") || text.starts_with("0X")) {
        text.remove_prefix(2);
        base = 16;
    }
    if (text.empty()) return std::nullopt;
    uint64_t value = 0;
    for (const char c : text) {
        const int digit = std::isdigit(static_cast<unsigned char>(c)) ? c - '0'
                          : std::isxdigit(static_cast<unsigned char>(c))
                              ? std::toupper(static_cast<unsigned char>(c)) - 'A' + 10
                              : 99;
        if (digit >= base) return std::nullopt;
        value = value * uint64_t(base) + uint64_t(digit);
        if (value > UINT32_MAX) return std::nullopt;
    }
    return uint32_t(value);
}

// An address or a label of the program, with an optional "+N" or "-N".
Location location_value(const TomlNode& node, std::string_view key) {
    Location location;
    if (const auto* number = node.as_integer()) {
        if ((*number) < 0 || (*number) > 0x3FFFFF)
            fail(node, std::string(key) + ": no such address");
        location.address = uint32_t((*number));
        return location;
    }
    const auto* string = node.as_string();
    if (!string) fail(node, std::string(key) + " takes an address or a label of the program");
    const std::string& text = (*string);
    if (!text.empty() && !is_label_start(text[0])) {
        if (const auto address = parse_number(text)) {
            location.address = *address;
            return location;
        }
        fail(node, std::string(key) + ": " + in_quotes(text) +
                       " is neither an address ($1200, 0x1200, 4608) nor a label");
    }
    size_t end = 0;
    while (end < text.size() && is_label_char(text[end]))
        ++end;
    location.label = text.substr(0, end);
    const std::string_view rest(text.data() + end, text.size() - end);
    if (location.label.empty() || (!rest.empty() && rest[0] != '+' && rest[0] != '-'))
        fail(node, std::string(key) + ": " + in_quotes(text) + " is not a label (with +N or -N)");
    if (!rest.empty()) {
        const auto offset = parse_number(rest.substr(1));
        if (!offset) fail(node, std::string(key) + ": " + in_quotes(text) + " has a bad offset");
        location.offset = rest[0] == '-' ? -int64_t(*offset) : int64_t(*offset);
    }
    return location;
}

std::string no_place(std::string_view key, const std::string& name) {
    std::vector<std::string_view> names;
    for (const BoardPlace& place : kPlaces)
        names.push_back(place.name);
    const std::string_view best = closest(name, names);
    return std::string(key) + ": no place " + in_quotes(name) + " on the board" +
           (best.empty() ? " (" + place_names() + ")" : " (did you mean " + in_quotes(best) + "?)");
}

const BoardPlace& place_value(const TomlNode& node, std::string_view key) {
    const std::string name = string_value(node, key);
    if (const BoardPlace* place = find_place(name)) return *place;
    fail(node, no_place(key, name));
}

StopPoint stop_value(const TomlNode& node) {
    if (const auto* text = node.as_string()) {
        if ((*text) == "swi") return {StopPoint::Kind::kSwi, {}};
        if ((*text) == "bgnd") return {StopPoint::Kind::kBgnd, {}};
    }
    return {StopPoint::Kind::kLocation, location_value(node, "stop")};
}

void check_time(const TomlNode& node, Cycles t, const Lab& lab, std::string_view key) {
    if (t != kEnd && t > lab.time_limit)
        fail(node,
             std::string(key) + " lies after the time limit (" + format_time(lab.time_limit) + ")");
}

} // namespace torva::lab
