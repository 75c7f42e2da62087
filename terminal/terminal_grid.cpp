// The receive step, scrolling and resizing of the terminal's grid.
#include "terminal/terminal_grid.h"

#include <algorithm>
#include <numeric>

namespace torva {
namespace {

constexpr uint8_t kBackspace = 8;
constexpr uint8_t kTab = 9;
constexpr uint8_t kLineFeed = 10;
constexpr uint8_t kCarriageReturn = 13;

} // namespace

TerminalGrid::TerminalGrid(int columns, int rows)
    : columns_(std::clamp(columns, 1, kMaxCells)),
      rows_(std::clamp(rows, 1, std::min(kMaxRows, kMaxCells / columns_))),
      cells_(size_t(columns_) * size_t(rows_), kBlank), table_(size_t(rows_)) {
    std::iota(table_.begin(), table_.end(), 0);
}

std::string_view TerminalGrid::row(int screen_row) const {
    if (screen_row < 0 || screen_row >= rows_) return {};
    return {&cells_[size_t(table_[size_t(screen_row)]) * size_t(columns_)], size_t(columns_)};
}

void TerminalGrid::blank_to_end() {
    if (column_ < columns_) std::fill(cells(row_) + column_, cells(row_) + columns_, kBlank);
}

bool TerminalGrid::new_line() {
    if (row_ < rows_ - 1) {
        ++row_;
        return false;
    }
    // Scroll: the top row's buffer becomes the new, blank last row.
    std::rotate(table_.begin(), table_.begin() + 1, table_.end());
    std::fill(cells(row_), cells(row_) + columns_, kBlank);
    return true;
}

bool TerminalGrid::receive(uint8_t c, ReceiveTranslation mode) {
    // A byte after a full row lands in column 0 of the next row, whatever it is.
    if (column_ >= columns_) {
        column_ = 0;
        const bool scrolled = new_line();
        put(c);
        return scrolled;
    }
    switch (c) {
    case kBackspace:
        if (column_ > 0) cells(row_)[--column_] = kBlank;
        return false;
    case kCarriageReturn:
        if (mode == ReceiveTranslation::kLineFeed) return false;
        blank_to_end();
        // With both translated, a carriage return returns to column 0 (a
        // line feed only moves down), so text goes on at the line's start.
        column_ = 0;
        return mode == ReceiveTranslation::kCarriageReturn && new_line();
    case kLineFeed:
        switch (mode) {
        case ReceiveTranslation::kCarriageReturn: return false;
        case ReceiveTranslation::kLineFeed:
            blank_to_end();
            column_ = 0;
            return new_line();
        case ReceiveTranslation::kBoth: return new_line();
        }
        return false;
    default: put(c); return false;
    }
}

void TerminalGrid::put(uint8_t c) {
    if (c == kTab) {
        // At least one blank when there is room, then on to the next stop.
        do {
            cells(row_)[column_++] = kBlank;
        } while (column_ < columns_ && column_ % kTabWidth != 0);
        return;
    }
    if (c < 32 || c > 127) return; // control bytes and $80-$FF are not shown
    if (column_ < columns_) cells(row_)[column_++] = char(c);
}

TerminalGrid::ResizeResult TerminalGrid::resize(int columns, int rows) {
    columns = std::max(columns, 1);
    rows = std::clamp(rows, 1, kMaxRows);
    if (int64_t(columns) * rows > kMaxCells) return ResizeResult::kTooLarge;

    std::vector<char> cells(size_t(columns) * size_t(rows), kBlank);
    // The rows up to the cursor's, the most recent that fit, in screen order.
    const int copied = std::min(row_ + 1, rows);
    const int first = row_ + 1 - copied;
    const size_t width = size_t(std::min(columns, columns_));
    for (int i = 0; i < copied; ++i) {
        const std::string_view old = row(first + i);
        std::copy_n(old.begin(), width,
                    cells.begin() + std::ptrdiff_t(size_t(i) * size_t(columns)));
    }
    cells_ = std::move(cells);
    columns_ = columns;
    rows_ = rows;
    table_.resize(size_t(rows));
    std::iota(table_.begin(), table_.end(), 0);
    row_ = copied - 1;
    if (column_ >= columns_) column_ = 0;
    return ResizeResult::kResized;
}

std::pair<int, int> TerminalGrid::counts_for(int width, int height, int char_width,
                                             int line_height) {
    return {std::max(1, width / std::max(1, char_width)),
            std::max(1, height / std::max(1, line_height))};
}

} // namespace torva
