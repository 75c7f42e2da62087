// Watch rows: expressions to addresses or registers, values in their
// formats, and edits through the memory's own write rules.
#include "sim/watch_list.h"

#include "cpu/cpu.h"
#include "cpu/registers.h"
#include "io/memory_map.h"

#include <array>
#include <cctype>
#include <charconv>
#include <cstdio>

namespace torva {

namespace {

constexpr std::array<WatchFormatName, 10> kFormats = {{
    {WatchFormat::kHexByte, "hex byte", false},
    {WatchFormat::kHexWord, "hex word", false},
    {WatchFormat::kUnsignedByte, "unsigned byte", false},
    {WatchFormat::kUnsignedWord, "unsigned word", false},
    {WatchFormat::kSignedByte, "signed byte", false},
    {WatchFormat::kSignedWord, "signed word", false},
    {WatchFormat::kChar, "character", false},
    {WatchFormat::kString, "string", true},
    {WatchFormat::kByteArray, "bytes", true},
    {WatchFormat::kWordArray, "words", true},
}};

struct RegisterName {
    std::string_view name;
    int number;
    bool word;
};
constexpr std::array<RegisterName, 8> kRegisters = {{
    {"A", kRegA, false},
    {"B", kRegB, false},
    {"D", -1, true},
    {"X", kRegX, true},
    {"Y", kRegY, true},
    {"SP", kRegSp, true},
    {"PC", kRegPc, true},
    {"CCR", kRegCcr, false},
}};

bool equal_nocase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(a[i])) !=
            std::toupper(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
        text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.remove_suffix(1);
    return text;
}

std::optional<uint32_t> number(std::string_view text, int base) {
    uint32_t value = 0;
    if (text.empty()) return std::nullopt;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (ec != std::errc{} || end != text.data() + text.size()) return std::nullopt;
    return value;
}

// "$1F", "0x1F" or bare hex digits.
std::optional<uint32_t> address_number(std::string_view text) {
    if (text.starts_with("$")) return number(text.substr(1), 16);
    if (text.starts_with("0x") || text.starts_with("0X")) return number(text.substr(2), 16);
    return number(text, 16);
}

int width_of(WatchFormat format, int count) {
    switch (format) {
    case WatchFormat::kHexWord:
    case WatchFormat::kUnsignedWord:
    case WatchFormat::kSignedWord: return 2;
    case WatchFormat::kString:
    case WatchFormat::kByteArray: return count;
    case WatchFormat::kWordArray: return 2 * count;
    default: return 1;
    }
}

uint32_t register_value(const Cpu& cpu, int number) {
    const CpuRegisters& r = cpu.regs;
    switch (number) {
    case -1: return uint32_t(r.a) << 8 | r.b;
    case kRegA: return r.a;
    case kRegB: return r.b;
    case kRegX: return r.x;
    case kRegY: return r.y;
    case kRegSp: return r.sp;
    case kRegPc: return r.pc;
    case kRegCcr: return r.ccr;
    }
    return 0;
}

} // namespace

std::span<const WatchFormatName> watch_formats() {
    return kFormats;
}

std::optional<WatchTarget> parse_watch_expression(std::string_view text, const DebugMap* map,
                                                  std::string* error) {
    auto fail = [&](std::string why) -> std::optional<WatchTarget> {
        if (error) *error = std::move(why);
        return std::nullopt;
    };
    text = trimmed(text);
    if (text.empty()) return fail("empty");
    for (const RegisterName& r : kRegisters)
        if (equal_nocase(text, r.name)) return WatchTarget{true, r.number, 0};
    // A symbol of the map wins over hex digits that spell a name (BEEF).
    const size_t sign = text.find_first_of("+-");
    const std::string_view base = trimmed(text.substr(0, sign));
    int64_t offset = 0;
    if (sign != std::string_view::npos) {
        const std::string_view rest = trimmed(text.substr(sign + 1));
        auto n = rest.starts_with("$") || rest.starts_with("0x") ? address_number(rest)
                                                                 : number(rest, 10);
        if (!n) return fail(std::string("bad offset '").append(rest).append("'"));
        offset = text[sign] == '-' ? -int64_t(*n) : int64_t(*n);
    }
    if (map)
        if (const DebugMapSymbol* symbol = map->symbol(base))
            return WatchTarget{false, 0, uint32_t(int64_t(symbol->value) + offset)};
    if (const auto address = address_number(base))
        return WatchTarget{false, 0, uint32_t(int64_t(*address) + offset)};
    std::string why = map ? "no symbol '" : "'";
    why.append(base).append(map ? "'" : "' needs the debug map");
    return fail(std::move(why));
}

void WatchList::add(std::string expression, WatchFormat format, int count) {
    WatchRow row;
    row.expression = std::move(expression);
    row.format = format;
    row.count = std::max(1, count);
    rows_.push_back(std::move(row));
}

void WatchList::remove(size_t index) {
    if (index < rows_.size()) rows_.erase(rows_.begin() + std::ptrdiff_t(index));
}

std::optional<std::vector<uint8_t>> WatchList::read_bytes(uint32_t address, int count) const {
    std::vector<uint8_t> bytes(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        // A look never disturbs a device: peek refuses their registers.
        if (memory_.peek_byte(address + uint32_t(i), bytes[size_t(i)]) != 0) return std::nullopt;
    return bytes;
}

std::string WatchList::value_text(const WatchRow& row, const WatchTarget& target) const {
    const int width = width_of(row.format, row.count);
    std::vector<uint8_t> bytes;
    if (target.is_register) {
        const uint32_t value = register_value(cpu_, target.register_number);
        const bool word = target.register_number == -1 || target.register_number == kRegX ||
                          target.register_number == kRegY || target.register_number == kRegSp ||
                          target.register_number == kRegPc;
        bytes = word ? std::vector<uint8_t>{uint8_t(value >> 8), uint8_t(value)}
                     : std::vector<uint8_t>{uint8_t(value)};
        // A word format of a byte register reads it as its low byte.
        if (int(bytes.size()) < width) bytes.insert(bytes.begin(), size_t(width) - bytes.size(), 0);
        if (int(bytes.size()) > width) bytes.erase(bytes.begin(), bytes.end() - width);
    } else {
        auto read = read_bytes(target.address, width);
        if (!read) return "??";
        bytes = std::move(*read);
    }
    char text[16];
    const unsigned word = bytes.size() >= 2 ? unsigned(bytes[0] << 8 | bytes[1]) : bytes[0];
    switch (row.format) {
    case WatchFormat::kHexByte: std::snprintf(text, sizeof text, "$%02X", bytes[0]); return text;
    case WatchFormat::kHexWord: std::snprintf(text, sizeof text, "$%04X", word); return text;
    case WatchFormat::kUnsignedByte: return std::to_string(bytes[0]);
    case WatchFormat::kUnsignedWord: return std::to_string(word);
    case WatchFormat::kSignedByte: return std::to_string(int8_t(bytes[0]));
    case WatchFormat::kSignedWord: return std::to_string(int16_t(word));
    case WatchFormat::kChar:
    case WatchFormat::kString: {
        std::string out = "'";
        for (const uint8_t b : bytes) {
            if (b >= 0x20 && b < 0x7F) {
                out += char(b);
            } else {
                std::snprintf(text, sizeof text, "\\x%02X", b);
                out += text;
            }
        }
        return out + "'";
    }
    case WatchFormat::kByteArray:
    case WatchFormat::kWordArray: {
        std::string out;
        const size_t step = row.format == WatchFormat::kWordArray ? 2 : 1;
        for (size_t i = 0; i + step <= bytes.size(); i += step) {
            if (!out.empty()) out += ' ';
            std::snprintf(text, sizeof text, step == 2 ? "%04X" : "%02X",
                          step == 2 ? unsigned(bytes[i] << 8 | bytes[i + 1]) : bytes[i]);
            out += text;
        }
        return out;
    }
    }
    return {};
}

void WatchList::refresh(const DebugMap* map) {
    for (WatchRow& row : rows_) {
        const auto target = parse_watch_expression(row.expression, map, &row.error);
        std::string value = target ? value_text(row, *target) : std::string();
        if (target) row.error.clear();
        row.changed = !row.value.empty() && value != row.value;
        row.value = std::move(value);
    }
}

std::string WatchList::edit(size_t index, std::string_view text, const DebugMap* map) {
    if (index >= rows_.size()) return "no such row";
    WatchRow& row = rows_[index];
    std::string why;
    const auto target = parse_watch_expression(row.expression, map, &why);
    if (!target) return why;
    text = trimmed(text);
    std::vector<uint8_t> bytes;
    const int width = width_of(row.format, row.count);
    auto hex_or_decimal = [&](bool hex) -> std::optional<int64_t> {
        if (hex) {
            const auto v = address_number(text);
            return v ? std::optional<int64_t>(*v) : std::nullopt;
        }
        int64_t v = 0;
        const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v, 10);
        if (ec != std::errc{} || end != text.data() + text.size()) return std::nullopt;
        return v;
    };
    switch (row.format) {
    case WatchFormat::kChar:
    case WatchFormat::kString:
        if (text.size() >= 2 && text.front() == '\'' && text.back() == '\'')
            text = text.substr(1, text.size() - 2);
        if (text.empty() || int(text.size()) > width) return "too many characters";
        bytes.assign(text.begin(), text.end());
        break;
    case WatchFormat::kByteArray:
    case WatchFormat::kWordArray: return "edit one element: watch it as a byte or word";
    default: {
        const bool hex = row.format == WatchFormat::kHexByte || row.format == WatchFormat::kHexWord;
        const auto value = hex_or_decimal(hex);
        const int64_t low = hex ? 0
                                : (row.format == WatchFormat::kSignedByte   ? -128
                                   : row.format == WatchFormat::kSignedWord ? -32768
                                                                            : 0);
        const int64_t high = width == 1 ? (low < 0 ? 127 : 255) : (low < 0 ? 32767 : 65535);
        if (!value || *value < low || *value > high) return "not a value of this format";
        const uint32_t v = uint32_t(*value);
        bytes = width == 1 ? std::vector<uint8_t>{uint8_t(v)}
                           : std::vector<uint8_t>{uint8_t(v >> 8), uint8_t(v)};
    }
    }
    if (target->is_register) {
        const uint32_t v = bytes.size() == 2 ? uint32_t(bytes[0] << 8 | bytes[1]) : bytes[0];
        if (target->register_number == -1) {
            cpu_.set_register(kRegA, v >> 8);
            cpu_.set_register(kRegB, v & 0xFF);
        } else {
            cpu_.set_register(target->register_number, v);
        }
        return {};
    }
    // The memory pane's rules: nothing is written where a byte is read-only
    // (ROM without write enable, nothing there, a device register).
    for (size_t i = 0; i < bytes.size(); ++i) {
        uint8_t current = 0;
        const uint32_t address = target->address + uint32_t(i);
        if (!memory_.writable(address) || memory_.peek_byte(address, current) != 0)
            return "memory at this address is read-only";
    }
    for (size_t i = 0; i < bytes.size(); ++i)
        memory_.mem_write_byte(target->address + uint32_t(i), bytes[i]);
    return {};
}

} // namespace torva
