// The Output window's text store: stored lines, the line being built, the
// wrap at the window's width and the scroll position, kept apart from painting.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace torva {

enum class ScrollRequest { line_up, line_down, page_up, page_down, thumb, top, bottom };

class OutputLines {
public:
    static constexpr int kMaxColumn = 255;

    // Appends text: a line feed ends a line, a tab becomes one blank, other
    // control characters are dropped, and a line is cut at the width in
    // characters (and at 255). Afterwards, when the lines outnumber the
    // visible rows, the newest line is placed about half-way down.
    void append(std::string_view text);
    // Forgets every line; the next paint scrolls to the end.
    void clear();
    // The window's size in characters and rows (from its last size change).
    void set_size(int width_chars, int visible_rows);
    // What a paint does before drawing: clamps the scroll position and
    // performs a pending scroll to the end.
    void settle_for_paint();
    // Applies a scroll request (position is the thumb's); returns the step in
    // lines actually taken (0: nothing moves).
    int scroll(ScrollRequest request, int position = 0);

    const std::vector<std::string>& lines() const { return lines_; }
    const std::string& building() const { return building_; }
    int last_line() const { return static_cast<int>(lines_.size()) - 1; }
    int first_visible() const { return first_visible_; }
    int visible_rows() const { return visible_rows_; }
    int width_chars() const { return width_chars_; }
    // The scroll bar's range: the larger of the last line number and the rows.
    int scroll_range() const;
    bool scroll_to_end_pending() const { return scroll_to_end_pending_; }

private:
    void store_line();
    void put(unsigned char c);

    std::vector<std::string> lines_;
    std::string building_;
    int width_chars_ = 0;
    int visible_rows_ = 0;
    int first_visible_ = 0;
    bool scroll_to_end_pending_ = false;
};

struct MessageReference {
    std::string file;
    int line = 0; // one-based
};

// Reads a message that names a source line: the file between the first pair
// of double quotes, the line number between the first "(" after it and the
// next ")". False when either is missing or the number is not positive.
bool parse_message_reference(std::string_view text, MessageReference& reference);

} // namespace torva
