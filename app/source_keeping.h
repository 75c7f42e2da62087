// Keeps the user's breakpoints with their source files: as lines that move
// with the edits, re-placed at the lines' new addresses whenever a program
// is loaded, and stored per file so that they come back after a restart.
#pragma once

#include "sim/source_breakpoints.h"

#include <string>
#include <vector>

namespace torva {

class Simulator;
class SourceMarks;

class SourceKeeping {
public:
    SourceKeeping(Simulator& sim, SourceMarks& marks) : sim_(sim), marks_(marks) {}

    // A program was loaded: the breakpoint lines as the editor's margins
    // moved them (or as stored by an earlier run) go into the breakpoint
    // table at the new build's addresses, and the margins show them.
    void program_loaded();
    // The user changed the breakpoint table (F9, the margin, the Program
    // pane, the Breakpoints dialog): its lines are kept and stored.
    void breakpoints_changed();

private:
    void store(const std::vector<std::string>& paths) const;

    Simulator& sim_;
    SourceMarks& marks_;
    SourceBreakpoints breakpoints_;
};

} // namespace torva
