// The debug map: which source file and line produced each byte range of a
// load file, and every symbol with its kind and place. One text format,
// written by the assembler beside the load file and read by the simulator.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace torva {

// The first line of every map; the number is the format's version.
constexpr std::string_view kDebugMapHeader = "TORVA6-DEBUG-MAP 1";

enum class SymbolKind { kLabel, kEqu, kSet, kDefine };

struct DebugMapRange {
    uint32_t start = 0;
    uint32_t length = 0;
    int file = 0; // index into DebugMap::files
    int line = 0; // 1-based line of that file
};

struct DebugMapSymbol {
    std::string name;
    SymbolKind kind = SymbolKind::kLabel;
    uint32_t value = 0;
    int file = -1; // -1: no defining line known
    int line = 0;
};

struct SourcePlace {
    int file = -1;
    int line = 0;
    bool valid() const { return file >= 0; }
    bool operator==(const SourcePlace&) const = default;
};

struct DebugMap {
    uint64_t stamp = 0;
    // Paths as the assembler opened them: relative to the map's directory
    // or absolute.
    std::vector<std::string> files;
    std::vector<DebugMapRange> ranges; // ascending by start after parse
    std::vector<DebugMapSymbol> symbols;

    bool empty() const { return ranges.empty() && symbols.empty(); }
    // The source line whose bytes hold the address, if any.
    SourcePlace place_of(uint32_t address) const;
    // The first address of the line, or of the next line of that file with
    // code (a line without code takes the next one with code), with the
    // line it landed on.
    std::optional<DebugMapRange> code_at_or_after(int file, int line) const;
    // The symbol of that name (letter case counts).
    const DebugMapSymbol* symbol(std::string_view name) const;
};

// A map's source file as a path of this machine: a relative name is taken
// from the load file's directory.
std::string debug_map_source_path(const DebugMap& map, int file, const std::string& load_file);

struct SourceLine {
    std::string path; // as debug_map_source_path gives it
    int line = 0;     // 1-based
    bool operator==(const SourceLine&) const = default;
};
// The source line whose bytes hold the address, if any.
std::optional<SourceLine> source_line_at(const DebugMap& map, const std::string& load_file,
                                         uint32_t address);

// The map as text, the stamp line included.
std::string format_debug_map(const DebugMap& map);
// The text of a map without its stamp line: what the stamp is computed from.
std::string format_debug_map_body(const DebugMap& map);
// A 64-bit FNV-1a hash of the text, the stamp of a map body.
uint64_t debug_map_stamp(std::string_view body);

struct DebugMapParse {
    std::optional<DebugMap> map;
    std::string error; // "line N: what is wrong" when map is empty
};
// Reads a map. Unknown keywords are skipped (later versions may add some);
// another version or a malformed line is an error.
DebugMapParse parse_debug_map(std::string_view text);

// The S0 header record that carries the stamp into the load file, and the
// stamp read back from a load file's first line.
std::string debug_stamp_record(uint64_t stamp);
std::optional<uint64_t> debug_stamp_of_record(std::string_view line);

// The map that belongs to the load file at path: "name.dbg" beside it,
// read when its stamp matches the load file's header. Without one (or with
// a stale one) nothing, and `why` tells the reason ("" for no map at all).
std::optional<DebugMap> read_debug_map_for(const std::string& load_file, std::string* why);

} // namespace torva
