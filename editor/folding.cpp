// Fold handling over the component's fold levels: a header is a line whose
// level carries the header flag; its children run to its last child.
#include "editor/folding.h"

namespace torva {
namespace {

bool is_header(int level) {
    return (level & sci::SC_FOLDLEVELHEADERFLAG) != 0;
}

// Shows every line under header (down to its last child at level, -1 for the
// header's own) and marks each nested header expanded.
void show_children(const SciCall& sci, int header, int level) {
    const int last = sci.last_child(header, level);
    if (last <= header) return;
    for (int line = header + 1; line <= last; ++line)
        if (is_header(sci.fold_level(line))) sci.set_fold_expanded(line, true);
    sci.show_lines(header + 1, last);
}

void hide_children(const SciCall& sci, int header) {
    const int last = sci.last_child(header, -1);
    if (last > header) sci.hide_lines(header + 1, last);
}

} // namespace

void fold_changed(const SciCall& sci, int line, int level_now, int level_before) {
    if (is_header(level_now) && !is_header(level_before)) {
        sci.set_fold_expanded(line, true);
    } else if (!is_header(level_now) && is_header(level_before) && !sci.fold_expanded(line)) {
        // The fold went away while closed: its lines must not stay hidden.
        sci.set_fold_expanded(line, true);
        show_children(sci, line, level_before & sci::SC_FOLDLEVELNUMBERMASK);
    }
}

void fold_margin_click(const SciCall& sci, long position, int modifiers) {
    const int line = sci.line_from_position(position);
    const bool shift = (modifiers & sci::SCMOD_SHIFT) != 0;
    const bool ctrl = (modifiers & sci::SCMOD_CTRL) != 0;
    if (shift && ctrl) {
        fold_all(sci);
        return;
    }
    if (!is_header(sci.fold_level(line))) return;
    if (shift) {
        sci.set_fold_expanded(line, true);
        show_children(sci, line, -1);
    } else if (ctrl) {
        if (sci.fold_expanded(line)) {
            sci.set_fold_expanded(line, false);
            hide_children(sci, line);
        } else {
            sci.set_fold_expanded(line, true);
            show_children(sci, line, -1);
        }
    } else {
        sci.send(sci::SCI_TOGGLEFOLD, line);
    }
}

void fold_all(const SciCall& sci) {
    sci.send(sci::SCI_COLOURISE, 0, -1);
    const int lines = sci.line_count();
    bool expand = true;
    for (int line = 0; line < lines; ++line) {
        if (is_header(sci.fold_level(line))) {
            expand = !sci.fold_expanded(line);
            break;
        }
    }
    for (int line = 0; line < lines; ++line) {
        const int level = sci.fold_level(line);
        if (!is_header(level) || (level & sci::SC_FOLDLEVELNUMBERMASK) != sci::SC_FOLDLEVELBASE)
            continue;
        sci.set_fold_expanded(line, expand);
        if (expand)
            show_children(sci, line, -1);
        else
            hide_children(sci, line);
    }
}

} // namespace torva
