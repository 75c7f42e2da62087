// The simulator's run shown in the editor: when the simulator halts, the
// source line the program counter stands on (through the load file's debug
// map) is brought forward with the current-line marker, and the lines of
// the breakpoint table get their margin markers; a run removes the
// current-line marker.
#pragma once

#include "editor/styling.h"
#include "sim/source_breakpoints.h"

#include <QPointer>

#include <string>
#include <utility>
#include <vector>

class QWidget;

namespace torva {

class DocumentWindow;
class EditorDocuments;
class Simulator;
struct DebugMap;

class SourceMarks {
public:
    // Marker numbers of the editor's table: breakpoint, disabled
    // breakpoint, the current line's arrow and its background.
    static constexpr int kBreakpointMarker = marker::kBreakpoint;
    static constexpr int kDisabledMarker = marker::kDisabledBreakpoint;
    static constexpr int kCurrentArrow = marker::kCurrentLine;
    static constexpr int kCurrentBackground = marker::kCurrentLineBackground;

    SourceMarks(Simulator& sim, EditorDocuments& documents) : sim_(sim), documents_(documents) {}

    // The simulator window to keep beside the source.
    void set_simulator_window(QWidget* window) { simulator_window_ = window; }
    void halted();
    void running();
    // The breakpoint table's lines in the open documents.
    void show_breakpoints();
    // The breakpoint lines of the documents whose margins were last drawn
    // from the table, read as they stand now: their markers moved with the
    // edits made since. Each with the file's path as the map named it.
    std::vector<std::pair<std::string, std::vector<LineBreakpoint>>> margin_breakpoints() const;
    // Whether the document was edited since the loaded program was built
    // from it (unsaved changes, or saved after the load file was): its lines
    // no longer match the map, so its breakpoint markers are its own until
    // the next build is loaded.
    bool edited_since_build(const DocumentWindow& document) const;
    // F9 in such a document: the breakpoint marker of the 0-based line goes
    // or comes without the table; the next load places it. False (nothing
    // done) for a document whose markers were never drawn from the table.
    bool toggle_pending_breakpoint(DocumentWindow& document, int line) const;
    // The map's number of the source file at path, or -1.
    int file_of(const DebugMap& map, const std::string& path) const;

private:
    // The map's file as a path of this machine: relative to the load file.
    std::string source_path(const DebugMap& map, int file) const;
    DocumentWindow* open_document(const std::string& path) const;
    void clear_current_line();
    void show_breakpoints(const DebugMap& map);
    // The first time a run or step halts on a source line, the document
    // and the simulator window are put side by side where they overlap (a
    // load alone leaves the windows where they are).
    void arrange(DocumentWindow& document);

    Simulator& sim_;
    EditorDocuments& documents_;
    QWidget* simulator_window_ = nullptr;
    // The documents the last drawing of the table reached, with their
    // files' paths.
    std::vector<std::pair<QPointer<DocumentWindow>, std::string>> drawn_;
    bool arranged_ = false;
    bool ran_ = false;
};

} // namespace torva
