// Breakpoints by source line: the bookkeeping between lines and the
// breakpoint table's addresses, and the lines' stored text.
#include "sim/source_breakpoints.h"

#include <algorithm>
#include <charconv>
#include <set>

namespace torva {

std::span<const LineBreakpoint> SourceBreakpoints::lines(const std::string& path) const {
    const auto it = files_.find(path);
    if (it == files_.end()) return {};
    return it->second;
}

bool SourceBreakpoints::set_lines(const std::string& path, std::vector<LineBreakpoint> lines) {
    std::erase_if(lines, [](const LineBreakpoint& b) { return b.line < 1 || b.line > kMaxLine; });
    std::stable_sort(
        lines.begin(), lines.end(),
        [](const LineBreakpoint& a, const LineBreakpoint& b) { return a.line < b.line; });
    lines.erase(std::unique(lines.begin(), lines.end(),
                            [](const LineBreakpoint& a, const LineBreakpoint& b) {
                                return a.line == b.line;
                            }),
                lines.end());
    const auto it = files_.find(path);
    if (it != files_.end() && it->second == lines) return false;
    files_[path] = std::move(lines);
    return true;
}

std::vector<std::string> SourceBreakpoints::take_from_table(const DebugMap& map,
                                                            const std::string& load_file,
                                                            const BreakpointTable& table) {
    std::vector<std::vector<LineBreakpoint>> found(map.files.size());
    for (int i = 0; i < BreakpointTable::kCapacity; ++i) {
        const Breakpoint& entry = table.at(i);
        if (!entry.used() || entry.state == BreakState::kTemporary) continue;
        const SourcePlace place = map.place_of(entry.address);
        if (!place.valid() || size_t(place.file) >= map.files.size()) continue;
        found[size_t(place.file)].push_back({place.line, entry.state == BreakState::kEnabled});
    }
    std::vector<std::string> changed;
    for (size_t file = 0; file < map.files.size(); ++file) {
        const std::string path = debug_map_source_path(map, int(file), load_file);
        if (set_lines(path, std::move(found[file]))) changed.push_back(path);
    }
    return changed;
}

void SourceBreakpoints::place(const DebugMap& map, const std::string& load_file,
                              BreakpointTable& table) const {
    std::set<int> kept_files;
    for (size_t file = 0; file < map.files.size(); ++file)
        if (knows(debug_map_source_path(map, int(file), load_file))) kept_files.insert(int(file));
    if (kept_files.empty()) return;
    for (int i = 0; i < BreakpointTable::kCapacity; ++i) {
        const Breakpoint& entry = table.at(i);
        if (!entry.used() || entry.state == BreakState::kTemporary) continue;
        if (kept_files.contains(map.place_of(entry.address).file)) table.remove_at(i);
    }
    for (const int file : kept_files) {
        for (const LineBreakpoint& kept : lines(debug_map_source_path(map, file, load_file))) {
            const auto landed = map.code_at_or_after(file, kept.line);
            if (!landed) continue;
            // Two kept lines may land on one line with code: the first
            // keeps its state.
            table.add(landed->start, kept.enabled ? BreakState::kEnabled : BreakState::kDisabled);
        }
    }
}

std::string format_line_breakpoints(std::span<const LineBreakpoint> lines) {
    std::string text;
    for (const LineBreakpoint& b : lines) {
        if (!text.empty()) text += ',';
        text += std::to_string(b.line);
        text += b.enabled ? ":1" : ":0";
    }
    return text;
}

std::vector<LineBreakpoint> parse_line_breakpoints(std::string_view text) {
    std::vector<LineBreakpoint> lines;
    while (!text.empty()) {
        const size_t comma = std::min(text.find(','), text.size());
        const std::string_view item = text.substr(0, comma);
        text.remove_prefix(std::min(comma + 1, text.size()));
        const size_t colon = item.find(':');
        if (colon == std::string_view::npos) continue;
        const std::string_view flag = item.substr(colon + 1);
        int line = 0;
        const auto [end, error] = std::from_chars(item.data(), item.data() + colon, line);
        if (error != std::errc() || end != item.data() + colon || colon == 0) continue;
        if (line < 1 || line > SourceBreakpoints::kMaxLine || (flag != "1" && flag != "0"))
            continue;
        lines.push_back({line, flag == "1"});
    }
    return lines;
}

} // namespace torva
