// The debug map's collector in pass 2 and its output files.
#include "asm/debug_map_output.h"

#include "asm/session.h"
#include "asm/symbols.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

namespace torva {

namespace {

SymbolKind kind_of(const SymbolRecord& r) {
    if (r.flags & kSymConditional) return SymbolKind::kDefine;
    if (r.flags & kSymRedefinable) return SymbolKind::kSet;
    if (r.flags & kSymConstant) return SymbolKind::kEqu;
    return SymbolKind::kLabel;
}

DebugMap build_map(AsmSession& s) {
    DebugMapNotes& notes = s.debug_notes;
    DebugMap map;
    map.files = notes.files;
    map.ranges = notes.ranges;
    std::stable_sort(
        map.ranges.begin(), map.ranges.end(),
        [](const DebugMapRange& a, const DebugMapRange& b) { return a.start < b.start; });
    s.symbols.for_each_in_chain_order([&](const SymbolRecord& r) {
        if (!(r.flags & kSymDefined) || (r.flags & kSymUndefined)) return;
        DebugMapSymbol symbol{r.name, kind_of(r), r.value, -1, 0};
        if (r.defined_at > 0 && size_t(r.defined_at) < notes.places.size()) {
            symbol.file = notes.places[size_t(r.defined_at)].file;
            symbol.line = notes.places[size_t(r.defined_at)].line;
        }
        // A name defined on the command line or nowhere in a file has no line.
        if (symbol.file < 0) symbol.line = 0;
        map.symbols.push_back(std::move(symbol));
    });
    std::sort(map.symbols.begin(), map.symbols.end(),
              [](const DebugMapSymbol& a, const DebugMapSymbol& b) { return a.name < b.name; });
    map.stamp = debug_map_stamp(format_debug_map_body(map));
    return map;
}

// Writes the whole text under a temporary name and renames it over the
// map, so that a failed write never leaves half a map behind.
bool write_whole(const std::string& path, const std::string& text) {
    const std::string temporary = path + ".part";
    std::FILE* f = std::fopen(temporary.c_str(), "wb");
    if (!f) return false;
    const bool written = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    if (std::fclose(f) != 0 || !written) {
        std::remove(temporary.c_str());
        return false;
    }
    std::error_code ec;
    std::filesystem::rename(temporary, path, ec);
    if (ec) std::remove(temporary.c_str());
    return !ec;
}

} // namespace

SourcePlace debug_map_place(AsmSession& s) {
    DebugMapNotes& notes = s.debug_notes;
    const std::string name =
        std::filesystem::path(s.current_file).lexically_normal().generic_string();
    auto [it, added] = notes.file_ids.try_emplace(name, int(notes.files.size()));
    if (added) notes.files.push_back(name);
    return {it->second, s.file_line};
}

void debug_map_note(AsmSession& s, SourcePlace place) {
    DebugMapNotes& notes = s.debug_notes;
    if (s.global_line >= 0) {
        if (notes.places.size() <= size_t(s.global_line))
            notes.places.resize(size_t(s.global_line) + 1);
        notes.places[size_t(s.global_line)] = place;
    }
    // Bytes listed on the line: instructions and data. Reserved storage
    // holds no program and takes no range.
    if (s.code_count > 0 && s.location != s.line_start)
        notes.ranges.push_back({s.line_start, s.location - s.line_start, place.file, place.line});
}

void debug_map_begin_load_file(AsmSession& s) {
    s.srecord_text += debug_stamp_record(0);
    s.srecord_text += '\n';
}

bool debug_map_finish(AsmSession& s) {
    const DebugMap map = build_map(s);
    // The header record is the load file's first line and keeps its length.
    const std::string header = debug_stamp_record(map.stamp);
    if (!s.srecord_file || std::fseek(s.srecord_file, 0, SEEK_SET) != 0 ||
        std::fwrite(header.data(), 1, header.size(), s.srecord_file) != header.size()) {
        s.srecord_failed = true;
        return false;
    }
    std::fseek(s.srecord_file, 0, SEEK_END);
    return write_whole(s.debug_map_path, format_debug_map(map));
}

} // namespace torva
