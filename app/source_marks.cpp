// Current-line and breakpoint markers in the editor, from the simulator's
// state through the debug map.
#include "app/source_marks.h"

#include "editor/document_list.h"
#include "editor/document_window.h"
#include "editor/sci_messages.h"
#include "sim/debug_map.h"
#include "sim/simulator.h"

#include <QWidget>
#include <Qsci/qsciscintillabase.h>

#include <algorithm>

#include <filesystem>

namespace torva {

namespace fs = std::filesystem;

std::string SourceMarks::source_path(const DebugMap& map, int file) const {
    return debug_map_source_path(map, file, sim_.load_file().load_file_path);
}

int SourceMarks::file_of(const DebugMap& map, const std::string& path) const {
    const QWidget* wanted = documents_.find_document(path);
    for (size_t i = 0; i < map.files.size(); ++i)
        if (wanted != nullptr && documents_.find_document(source_path(map, int(i))) == wanted)
            return int(i);
    return -1;
}

void SourceMarks::show_breakpoints() {
    if (const auto map = sim_.load_file().debug_map) show_breakpoints(*map);
}

DocumentWindow* SourceMarks::open_document(const std::string& path) const {
    if (QWidget* open = documents_.find_document(path))
        return static_cast<DocumentWindow*>(open); // the list holds document windows only
    std::error_code ec;
    if (!fs::exists(path, ec)) return nullptr;
    documents_.open_document(false, path, -1);
    return static_cast<DocumentWindow*>(documents_.find_document(path));
}

void SourceMarks::running() {
    ran_ = true;
    clear_current_line();
}

void SourceMarks::clear_current_line() {
    for (DocumentWindow* document : documents_.documents()) {
        document->sci().delete_all_markers(kCurrentArrow);
        document->sci().delete_all_markers(kCurrentBackground);
    }
}

void SourceMarks::halted() {
    clear_current_line();
    const auto map = sim_.load_file().debug_map;
    if (!map) return;
    show_breakpoints(*map);
    const SourcePlace place = map->place_of(sim_.cpu().current_execution_address());
    if (!place.valid()) return;
    DocumentWindow* document = open_document(source_path(*map, place.file));
    if (document == nullptr) return;
    const int line = place.line - 1;
    document->sci().add_marker(line, kCurrentArrow);
    document->sci().add_marker(line, kCurrentBackground);
    document->sci().send(sci::SCI_GOTOLINE, static_cast<unsigned long>(line));
    arrange(*document);
}

void SourceMarks::show_breakpoints(const DebugMap& map) {
    // An edited document keeps its markers (and its place among the drawn
    // ones): they moved with the edits and are read back at the next load.
    std::erase_if(drawn_, [this](const auto& drawn) {
        return drawn.first == nullptr || !edited_since_build(*drawn.first);
    });
    for (DocumentWindow* document : documents_.documents()) {
        if (edited_since_build(*document)) continue;
        document->sci().delete_all_markers(kBreakpointMarker);
        document->sci().delete_all_markers(kDisabledMarker);
    }
    for (size_t file = 0; file < map.files.size(); ++file) {
        const std::string path = source_path(map, int(file));
        QWidget* open = documents_.find_document(path);
        auto* document = static_cast<DocumentWindow*>(open);
        if (document != nullptr && !edited_since_build(*document))
            drawn_.emplace_back(document, path);
    }
    const BreakpointTable& table = sim_.breakpoints();
    for (int i = 0; i < BreakpointTable::kCapacity; ++i) {
        const Breakpoint& entry = table.at(i);
        // A temporary entry (Goto here, a step's goal) is no breakpoint of
        // the user's.
        if (!entry.used() || entry.state == BreakState::kTemporary) continue;
        const SourcePlace place = map.place_of(entry.address);
        if (!place.valid()) continue;
        auto* open =
            static_cast<DocumentWindow*>(documents_.find_document(source_path(map, place.file)));
        if (open == nullptr || edited_since_build(*open)) continue;
        open->sci().add_marker(place.line - 1, entry.state == BreakState::kDisabled
                                                   ? kDisabledMarker
                                                   : kBreakpointMarker);
    }
}

bool SourceMarks::edited_since_build(const DocumentWindow& document) const {
    if (document.sci().send(sci::SCI_GETMODIFY) != 0) return true;
    std::error_code ec;
    const auto saved = fs::last_write_time(document.path(), ec);
    return !ec && saved > sim_.load_file().load_file_time;
}

bool SourceMarks::toggle_pending_breakpoint(DocumentWindow& document, int line) const {
    if (std::none_of(drawn_.begin(), drawn_.end(),
                     [&](const auto& drawn) { return drawn.first == &document; }))
        return false;
    constexpr int kMask = (1 << kBreakpointMarker) | (1 << kDisabledMarker);
    const SciCall& sci = document.sci();
    if ((sci.send(sci::SCI_MARKERGET, static_cast<unsigned long>(line)) & kMask) != 0) {
        for (const int marker : {kBreakpointMarker, kDisabledMarker})
            sci.send(QsciScintillaBase::SCI_MARKERDELETE, static_cast<unsigned long>(line), marker);
    } else {
        sci.add_marker(line, kBreakpointMarker);
    }
    return true;
}

std::vector<std::pair<std::string, std::vector<LineBreakpoint>>>
SourceMarks::margin_breakpoints() const {
    constexpr int kMask = (1 << kBreakpointMarker) | (1 << kDisabledMarker);
    std::vector<std::pair<std::string, std::vector<LineBreakpoint>>> margins;
    for (const auto& [document, path] : drawn_) {
        if (document == nullptr) continue; // closed since
        std::vector<LineBreakpoint> lines;
        const SciCall& sci = document->sci();
        for (long line = sci.send(sci::SCI_MARKERNEXT, 0, kMask); line >= 0;
             line = sci.send(sci::SCI_MARKERNEXT, static_cast<unsigned long>(line + 1), kMask)) {
            const long markers = sci.send(sci::SCI_MARKERGET, static_cast<unsigned long>(line));
            lines.push_back({int(line) + 1, (markers & (1 << kBreakpointMarker)) != 0});
        }
        margins.emplace_back(path, std::move(lines));
    }
    return margins;
}

void SourceMarks::arrange(DocumentWindow& document) {
    if (arranged_ || !ran_ || simulator_window_ == nullptr) return;
    arranged_ = true;
    QWidget* source = document.parentWidget();
    QWidget* simulator = simulator_window_->parentWidget();
    if (source == nullptr || simulator == nullptr || source->parentWidget() == nullptr) return;
    if (!source->geometry().intersects(simulator->geometry())) return;
    // The source on the left, as wide as the area leaves beside the
    // simulator (its height and top kept); the simulator keeps its size on
    // the right.
    const QRect area = source->parentWidget()->rect();
    const int simulator_width = simulator->width();
    const int source_width = std::max(320, area.width() - simulator_width);
    source->setGeometry(0, source->y(), source_width, source->height());
    simulator->move(std::min(source_width, std::max(0, area.width() - simulator_width)), 0);
    simulator->raise();
}

} // namespace torva
