// Breakpoints and runs asked for from the source, resolved through the
// debug map of the simulator's load file.
#include "app/source_debugger.h"

#include "app/source_marks.h"
#include "editor/document_list.h"
#include "editor/document_window.h"
#include "editor/sci_messages.h"
#include "sim/simulator.h"

namespace torva {

DocumentWindow* SourceDebugger::caret_document() const {
    // The document on top, or (the simulator window on top) the source
    // the user worked in last.
    if (DocumentWindow* document = documents_.active_document()) return document;
    return static_cast<DocumentWindow*>(documents_.find_document(documents_.most_recent_source()));
}

int SourceDebugger::caret_line(const DocumentWindow& document) {
    const long position = document.sci().send(sci::SCI_GETCURRENTPOS);
    return int(
        document.sci().send(sci::SCI_LINEFROMPOSITION, static_cast<unsigned long>(position)));
}

std::optional<uint32_t> SourceDebugger::caret_address() const {
    const auto map = sim_.load_file().debug_map;
    const DocumentWindow* document = caret_document();
    if (!map || document == nullptr) return std::nullopt;
    const int file = marks_.file_of(*map, document->path());
    if (file < 0) return std::nullopt;
    const int line = caret_line(*document);
    const auto landed = map->code_at_or_after(file, line + 1);
    if (!landed) return std::nullopt;
    return landed->start;
}

bool SourceDebugger::toggle_breakpoint() {
    // A document edited since the build keeps its breakpoints as markers
    // until the next build is loaded: the map's lines are not its lines.
    if (DocumentWindow* document = caret_document();
        document != nullptr && marks_.edited_since_build(*document) &&
        marks_.toggle_pending_breakpoint(*document, caret_line(*document)))
        return false;
    const auto address = caret_address();
    if (!address) return false;
    BreakpointTable& table = sim_.breakpoints();
    if (table.state_of(*address))
        table.remove(*address);
    else
        table.add(*address, BreakState::kEnabled);
    marks_.show_breakpoints();
    return true;
}

bool SourceDebugger::run_to_cursor() {
    const auto address = caret_address();
    return address && steps_.run_to(*address);
}

bool SourceDebugger::step(SourceStep kind) {
    return steps_.start(kind);
}

} // namespace torva
