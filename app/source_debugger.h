// The debugging commands a user gives from the source: toggle a breakpoint
// on the caret's line, run to the caret's line, and the steps that follow
// the source. Breakpoints live in the simulator's one table (addresses);
// the editor's markers are drawn from it.
#pragma once

#include "sim/source_steps.h"

#include <optional>

namespace torva {

class DocumentWindow;
class EditorDocuments;
class SourceMarks;

class SourceDebugger {
public:
    SourceDebugger(Simulator& sim, EditorDocuments& documents, SourceMarks& marks)
        : sim_(sim), documents_(documents), marks_(marks), steps_(sim) {}

    // F9: a breakpoint at the first address of the caret's line (a line
    // without code takes the next line with code); again removes it. In a
    // document edited since the build only the line's marker changes, to
    // be placed at the next load. False when the table did not change.
    bool toggle_breakpoint();
    // Ctrl+F10: runs until the caret's line.
    bool run_to_cursor();
    // F11, F10, Shift+F11 while the simulator is halted.
    bool step(SourceStep kind);

private:
    // The document F9 and Run to Cursor act in, and its caret's 0-based line.
    DocumentWindow* caret_document() const;
    static int caret_line(const DocumentWindow& document);
    // The first address of the caret's line (or the next with code) in the
    // active document.
    std::optional<uint32_t> caret_address() const;

    Simulator& sim_;
    EditorDocuments& documents_;
    SourceMarks& marks_;
    SourceSteps steps_;
};

} // namespace torva
