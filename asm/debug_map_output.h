// Collecting the debug map during pass 2 and writing it beside the load
// file (ta12 -g, the IDE's Assemble).
#pragma once

#include "sim/debug_map.h"

#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace torva {

struct AsmSession;

// What pass 2 learns for the map: the files met, the place of every global
// line (symbols name their definition by global line) and the code ranges.
struct DebugMapNotes {
    std::vector<std::string> files;
    std::unordered_map<std::string, int> file_ids;
    std::vector<SourcePlace> places; // by global line
    std::vector<DebugMapRange> ranges;
};

// The place of the line just read, before the statement runs (an INCLUDE
// switches the current file).
SourcePlace debug_map_place(AsmSession& s);
// Records the statement's place and, when it produced bytes, their range.
void debug_map_note(AsmSession& s, SourcePlace place);

// Pass 2 begins: the load file's header record holds the place of the
// stamp, filled in when the map is known.
void debug_map_begin_load_file(AsmSession& s);
// After pass 2 without errors: builds the map, writes "name.dbg" and puts
// its stamp in the load file's header. Returns false when a file could not
// be written.
bool debug_map_finish(AsmSession& s);

} // namespace torva
