// Keeps the user's breakpoints and Watch rows with their source files:
// breakpoints as lines that move with the edits, re-placed at the lines' new
// addresses whenever a program is loaded; the Watch rows with the main
// source of the loaded program. Both are stored per file, so that they come
// back after a restart.
#pragma once

#include "sim/source_breakpoints.h"

#include <QPointer>

#include <string>
#include <vector>

namespace torva {

class Simulator;
class SourceMarks;
class WatchWindow;

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
    // The Watch window, just made: it shows the loaded program's rows, and
    // its changes are stored.
    void keep_watch_rows(WatchWindow& window);

private:
    void store(const std::vector<std::string>& paths) const;
    // The loaded program's main source (the map's first file) takes the
    // Watch rows over; "" without a map: the rows stay, unkept.
    void switch_watch_file();
    void store_watch_rows() const;

    Simulator& sim_;
    SourceMarks& marks_;
    SourceBreakpoints breakpoints_;
    std::string watch_file_;
    // Whether the Watch rows shown have belonged to a source file yet.
    bool rows_owned_ = false;
    QPointer<WatchWindow> watch_window_;
};

} // namespace torva
