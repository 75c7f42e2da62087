// The debug map's text format, its lookups and the stamp that ties a map to
// its load file.
#include "sim/debug_map.h"

#include "records/srecord_writer.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace torva {

namespace {

struct KindName {
    SymbolKind kind;
    std::string_view name;
};
constexpr std::array<KindName, 4> kKindNames = {{
    {SymbolKind::kLabel, "label"},
    {SymbolKind::kEqu, "equ"},
    {SymbolKind::kSet, "set"},
    {SymbolKind::kDefine, "define"},
}};

std::string_view kind_name(SymbolKind kind) {
    for (const KindName& k : kKindNames)
        if (k.kind == kind) return k.name;
    return "label";
}

std::optional<SymbolKind> kind_of(std::string_view name) {
    for (const KindName& k : kKindNames)
        if (k.name == name) return k.kind;
    return std::nullopt;
}

// The text before the stamp in the S0 record's data.
constexpr std::string_view kStampTag = "TORVA6 ";

std::string hex(uint64_t value, int digits) {
    std::string out(size_t(digits), '0');
    for (int i = digits - 1; i >= 0; --i, value >>= 4)
        out[size_t(i)] = "0123456789ABCDEF"[value & 15];
    return out;
}

template <typename T>
bool number(std::string_view text, T& out, int base) {
    if (text.empty()) return false;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), out, base);
    return ec == std::errc{} && end == text.data() + text.size();
}

// Splits off the next blank-separated word of `rest`.
std::string_view next_word(std::string_view& rest) {
    const size_t begin = rest.find_first_not_of(" \t");
    if (begin == std::string_view::npos) {
        rest = {};
        return {};
    }
    rest.remove_prefix(begin);
    const size_t end = std::min(rest.find_first_of(" \t"), rest.size());
    const std::string_view word = rest.substr(0, end);
    rest.remove_prefix(end);
    return word;
}

// A file reference: "-" for none, else an index into the files so far.
bool file_ref(std::string_view word, size_t files, int& out) {
    if (word == "-") {
        out = -1;
        return true;
    }
    return number(word, out, 10) && out >= 0 && size_t(out) < files;
}

} // namespace

SourcePlace DebugMap::place_of(uint32_t address) const {
    auto it = std::upper_bound(ranges.begin(), ranges.end(), address,
                               [](uint32_t a, const DebugMapRange& r) { return a < r.start; });
    while (it != ranges.begin()) {
        --it;
        if (address - it->start < it->length) return {it->file, it->line};
        // Ranges do not overlap in a map of one assembly; a short look back
        // covers an ORG that went back over earlier code.
        if (it->start + 0x10000 < address) break;
    }
    return {};
}

std::string debug_map_source_path(const DebugMap& map, int file, const std::string& load_file) {
    namespace fs = std::filesystem;
    const fs::path named(map.files[size_t(file)]);
    if (named.is_absolute()) return named.lexically_normal().string();
    const fs::path base = fs::path(load_file).parent_path();
    return fs::absolute(base / named).lexically_normal().string();
}

std::optional<SourceLine> source_line_at(const DebugMap& map, const std::string& load_file,
                                         uint32_t address) {
    const SourcePlace place = map.place_of(address);
    if (!place.valid() || size_t(place.file) >= map.files.size()) return std::nullopt;
    return SourceLine{debug_map_source_path(map, place.file, load_file), place.line};
}

std::optional<DebugMapRange> DebugMap::code_at_or_after(int file, int line) const {
    const DebugMapRange* best = nullptr;
    for (const DebugMapRange& r : ranges) {
        if (r.file != file || r.line < line) continue;
        if (!best || r.line < best->line || (r.line == best->line && r.start < best->start))
            best = &r;
    }
    if (!best) return std::nullopt;
    return *best;
}

const DebugMapSymbol* DebugMap::symbol(std::string_view name) const {
    for (const DebugMapSymbol& s : symbols)
        if (s.name == name) return &s;
    return nullptr;
}

std::string format_debug_map_body(const DebugMap& map) {
    std::string out;
    char buffer[64];
    for (size_t i = 0; i < map.files.size(); ++i) {
        std::snprintf(buffer, sizeof buffer, "file %zu ", i);
        out.append(buffer).append(map.files[i]).append("\n");
    }
    for (const DebugMapRange& r : map.ranges) {
        std::snprintf(buffer, sizeof buffer, "code %06X %u %d %d\n", r.start, r.length, r.file,
                      r.line);
        out += buffer;
    }
    for (const DebugMapSymbol& s : map.symbols) {
        out.append("symbol ").append(s.name).append(" ").append(kind_name(s.kind));
        out.append(" ").append(hex(s.value, 8));
        if (s.file < 0) {
            out.append(" - 0\n");
        } else {
            std::snprintf(buffer, sizeof buffer, " %d %d\n", s.file, s.line);
            out.append(buffer);
        }
    }
    return out;
}

std::string format_debug_map(const DebugMap& map) {
    return std::string(kDebugMapHeader) + "\nstamp " + hex(map.stamp, 16) + "\n" +
           format_debug_map_body(map);
}

uint64_t debug_map_stamp(std::string_view body) {
    uint64_t h = 0xCBF29CE484222325ull;
    for (const char c : body) {
        h ^= uint8_t(c);
        h *= 0x100000001B3ull;
    }
    return h;
}

DebugMapParse parse_debug_map(std::string_view text) {
    DebugMap map;
    int number_of_line = 0;
    auto fail = [&](std::string_view what) {
        return DebugMapParse{std::nullopt,
                             "line " + std::to_string(number_of_line) + ": " + std::string(what)};
    };
    bool stamped = false;
    while (!text.empty()) {
        const size_t end = std::min(text.find('\n'), text.size());
        std::string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        ++number_of_line;
        if (number_of_line == 1) {
            if (line != kDebugMapHeader) return fail("not a debug map of this version");
            continue;
        }
        if (line.empty() || line.front() == '#') continue;
        std::string_view rest = line;
        const std::string_view keyword = next_word(rest);
        if (keyword == "stamp") {
            if (!number(next_word(rest), map.stamp, 16)) return fail("bad stamp");
            stamped = true;
        } else if (keyword == "file") {
            size_t index = 0;
            if (!number(next_word(rest), index, 10) || index != map.files.size())
                return fail("files out of order");
            const size_t begin = rest.find_first_not_of(" \t");
            if (begin == std::string_view::npos) return fail("file without a path");
            map.files.emplace_back(rest.substr(begin));
        } else if (keyword == "code") {
            DebugMapRange r;
            if (!number(next_word(rest), r.start, 16) || !number(next_word(rest), r.length, 10) ||
                !file_ref(next_word(rest), map.files.size(), r.file) || r.file < 0 ||
                !number(next_word(rest), r.line, 10) || r.line < 1)
                return fail("bad code line");
            map.ranges.push_back(r);
        } else if (keyword == "symbol") {
            DebugMapSymbol s;
            s.name = std::string(next_word(rest));
            const auto kind = kind_of(next_word(rest));
            if (s.name.empty() || !kind || !number(next_word(rest), s.value, 16) ||
                !file_ref(next_word(rest), map.files.size(), s.file) ||
                !number(next_word(rest), s.line, 10))
                return fail("bad symbol line");
            s.kind = *kind;
            map.symbols.push_back(std::move(s));
        }
    }
    if (number_of_line == 0) return fail("empty");
    if (!stamped) return fail("no stamp");
    std::stable_sort(
        map.ranges.begin(), map.ranges.end(),
        [](const DebugMapRange& a, const DebugMapRange& b) { return a.start < b.start; });
    return {std::move(map), {}};
}

std::string debug_stamp_record(uint64_t stamp) {
    const std::string text = std::string(kStampTag) + hex(stamp, 16);
    const std::vector<uint8_t> data(text.begin(), text.end());
    return srecord_line('0', 0, data);
}

std::optional<uint64_t> debug_stamp_of_record(std::string_view line) {
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n'))
        line.remove_suffix(1);
    // "S0", count, four address digits, the data, two checksum digits.
    if (line.size() < 10 || line[0] != 'S' || line[1] != '0') return std::nullopt;
    std::string text;
    for (size_t i = 8; i + 2 + 2 <= line.size(); i += 2) {
        unsigned byte = 0;
        if (!number(line.substr(i, 2), byte, 16)) return std::nullopt;
        text.push_back(char(byte));
    }
    if (text.size() != kStampTag.size() + 16 || !text.starts_with(kStampTag)) return std::nullopt;
    uint64_t stamp = 0;
    if (!number(std::string_view(text).substr(kStampTag.size()), stamp, 16)) return std::nullopt;
    return stamp;
}

std::optional<DebugMap> read_debug_map_for(const std::string& load_file, std::string* why) {
    namespace fs = std::filesystem;
    if (why) why->clear();
    const fs::path map_path = fs::path(load_file).replace_extension(".dbg");
    std::ifstream map_in(map_path, std::ios::binary);
    if (!map_in) return std::nullopt;
    std::ifstream load_in(load_file, std::ios::binary);
    std::string first;
    std::getline(load_in, first);
    const auto stamp = debug_stamp_of_record(first);
    std::stringstream text;
    text << map_in.rdbuf();
    DebugMapParse parsed = parse_debug_map(text.str());
    if (!parsed.map) {
        if (why) *why = map_path.filename().string() + ", " + parsed.error;
        return std::nullopt;
    }
    if (!stamp || *stamp != parsed.map->stamp) {
        if (why) *why = map_path.filename().string() + " belongs to another build";
        return std::nullopt;
    }
    return std::move(parsed.map);
}

} // namespace torva
