// Output window text store: wrapping, line storage, scroll arithmetic and the
// parse of a message's file and line.
#include "shell/output_lines.h"

#include <algorithm>
#include <charconv>

namespace torva {

void OutputLines::store_line() {
    lines_.push_back(building_);
    building_.clear();
}

void OutputLines::put(unsigned char c) {
    if (c == '\t')
        building_ += ' ';
    else if (c >= 32)
        building_ += static_cast<char>(c);
    if (static_cast<int>(building_.size()) >= kMaxColumn) store_line();
}

void OutputLines::append(std::string_view text) {
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        // Before the window has a size its width is 0; lines are then cut
        // only at 255 instead of storing an empty line per character.
        const bool at_width =
            width_chars_ > 0 && static_cast<int>(building_.size()) >= width_chars_;
        if (c == '\n') {
            store_line();
        } else if (at_width) {
            store_line();
            put(c);
        } else {
            put(c);
        }
    }
    if (last_line() + 1 > visible_rows_) first_visible_ = last_line() - visible_rows_ / 2;
}

void OutputLines::clear() {
    scroll_to_end_pending_ = true;
    lines_.clear();
    building_.clear();
    first_visible_ = 0;
}

void OutputLines::set_size(int width_chars, int visible_rows) {
    width_chars_ = std::max(0, width_chars);
    visible_rows_ = std::max(0, visible_rows);
}

int OutputLines::scroll_range() const {
    return std::max(last_line(), visible_rows_);
}

void OutputLines::settle_for_paint() {
    first_visible_ = std::clamp(first_visible_, 0, scroll_range());
    if (scroll_to_end_pending_ && last_line() + 1 > visible_rows_) {
        first_visible_ = last_line() + 1 - visible_rows_;
        scroll_to_end_pending_ = false;
    }
}

int OutputLines::scroll(ScrollRequest request, int position) {
    const int page = std::max(1, visible_rows_);
    int step = 0;
    switch (request) {
    case ScrollRequest::line_up: step = -1; break;
    case ScrollRequest::line_down: step = 1; break;
    case ScrollRequest::page_up: step = -page; break;
    case ScrollRequest::page_down: step = page; break;
    case ScrollRequest::thumb: step = position - first_visible_; break;
    case ScrollRequest::top: step = -first_visible_; break;
    case ScrollRequest::bottom: step = scroll_range() - first_visible_; break;
    }
    step = std::clamp(first_visible_ + step, 0, scroll_range()) - first_visible_;
    first_visible_ += step;
    return step;
}

bool parse_message_reference(std::string_view text, MessageReference& reference) {
    const auto open_quote = text.find('"');
    if (open_quote == std::string_view::npos) return false;
    const auto close_quote = text.find('"', open_quote + 1);
    if (close_quote == std::string_view::npos) return false;
    const auto open_paren = text.find('(', close_quote + 1);
    if (open_paren == std::string_view::npos) return false;
    const auto close_paren = text.find(')', open_paren + 1);
    if (close_paren == std::string_view::npos) return false;

    std::string_view number = text.substr(open_paren + 1, close_paren - open_paren - 1);
    while (!number.empty() && number.front() == ' ')
        number.remove_prefix(1);
    int line = 0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), line);
    if (error != std::errc() || line < 1) return false;
    reference.file = std::string(text.substr(open_quote + 1, close_quote - open_quote - 1));
    reference.line = line;
    return !reference.file.empty();
}

} // namespace torva
