// The user's breakpoints kept by source line, per source file, so that they
// outlive a reassembly (moved with their lines) and a restart of the IDE:
// read from the breakpoint table through a build's debug map, placed back at
// the lines' first addresses through the map of the next build.
#pragma once

#include "sim/breakpoint_table.h"
#include "sim/debug_map.h"

#include <map>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace torva {

struct LineBreakpoint {
    int line = 0; // 1-based
    bool enabled = true;
    bool operator==(const LineBreakpoint&) const = default;
};

class SourceBreakpoints {
public:
    // Lines beyond this are taken for garbage.
    static constexpr int kMaxLine = 10'000'000;

    // Files are named by absolute path, as debug_map_source_path gives it.
    std::span<const LineBreakpoint> lines(const std::string& path) const;
    bool knows(const std::string& path) const { return files_.contains(path); }
    // Replaces a file's lines: ascending, one entry a line (the first of
    // several wins), lines outside 1..kMaxLine dropped. True when they
    // differ from what was kept.
    bool set_lines(const std::string& path, std::vector<LineBreakpoint> lines);

    // The user's entries of the table (temporary ones are no breakpoints)
    // as lines of the map's files, replacing what was kept for every file
    // of the map. Gives the files whose lines changed.
    std::vector<std::string> take_from_table(const DebugMap& map, const std::string& load_file,
                                             const BreakpointTable& table);
    // Puts the kept lines of the map's files into the table at each line's
    // first address; a line without code takes the next line of its file
    // with code, as a click in the margin does. Entries the table already
    // holds inside those files' code go first: they belong to the lines.
    void place(const DebugMap& map, const std::string& load_file, BreakpointTable& table) const;

private:
    std::map<std::string, std::vector<LineBreakpoint>> files_;
};

// A file's lines as stored text ("15:1,16:0": line and enabled flag), and
// back. The reading skips what it does not understand, so a damaged store
// loses at most its damaged entries.
std::string format_line_breakpoints(std::span<const LineBreakpoint> lines);
std::vector<LineBreakpoint> parse_line_breakpoints(std::string_view text);

} // namespace torva
