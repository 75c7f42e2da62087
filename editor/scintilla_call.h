// A thin adapter over the editing component's message interface: raw sends
// plus the few calls that read better by name, and the style and marker
// definitions that the set-up tables are made of.
#pragma once

#include "editor/sci_messages.h"

#include <string>

class QsciScintillaBase;

namespace torva {

// One style of a style table; -1 leaves the attribute alone.
struct StyleRow {
    int style;
    long fore; // sci::rgb(...); -1 keeps the foreground
    int bold = -1;
    int underline = -1;
};

// One marker of the marker table; back -1 keeps the default background.
struct MarkerRow {
    int number;
    int shape;
    long fore;
    long back;
};

class SciCall {
public:
    explicit SciCall(QsciScintillaBase& component) : component_(&component) {}

    long send(unsigned message, unsigned long wparam = 0, long lparam = 0) const;
    long send_text(unsigned message, unsigned long wparam, const char* text) const;

    // The bytes between start and end (end excluded), as the component holds them.
    std::string text_range(long start, long end) const;
    std::string text() const { return text_range(0, length()); }
    long length() const { return send(sci::SCI_GETLENGTH); }
    long current_pos() const { return send(sci::SCI_GETCURRENTPOS); }
    int line_from_position(long pos) const {
        return static_cast<int>(send(sci::SCI_LINEFROMPOSITION, pos));
    }
    long position_from_line(int line) const { return send(sci::SCI_POSITIONFROMLINE, line); }
    int fold_level(int line) const { return static_cast<int>(send(sci::SCI_GETFOLDLEVEL, line)); }
    int line_count() const { return static_cast<int>(send(sci::SCI_GETLINECOUNT)); }
    bool fold_expanded(int line) const { return send(sci::SCI_GETFOLDEXPANDED, line) != 0; }
    void set_fold_expanded(int line, bool expanded) const {
        send(sci::SCI_SETFOLDEXPANDED, line, expanded ? 1 : 0);
    }
    int last_child(int line, int level) const {
        return static_cast<int>(send(sci::SCI_GETLASTCHILD, line, level));
    }
    void show_lines(int first, int last) const { send(sci::SCI_SHOWLINES, first, last); }
    void hide_lines(int first, int last) const { send(sci::SCI_HIDELINES, first, last); }

    // The go-to-line mark.
    void delete_all_markers(int marker) const { send(sci::SCI_MARKERDELETEALL, marker); }
    void add_marker(int line, int marker) const { send(sci::SCI_MARKERADD, line, marker); }

    void set_keywords(int set, const char* words) const {
        send_text(sci::SCI_SETKEYWORDS, set, words);
    }
    void set_property(const char* key, const char* value) const;
    void set_one_style(int background, const StyleRow& row) const;
    void define_marker(const MarkerRow& row) const;

    QsciScintillaBase& component() const { return *component_; }

private:
    QsciScintillaBase* component_;
};

} // namespace torva
