// The terminal's character grid: rows of fixed-width cells shown through a
// row table in display order, the cursor, the receive step with its three
// translations, scrolling, and resizing that keeps the recent content.
#pragma once

#include "terminal/terminal_settings.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace torva {

class TerminalGrid {
public:
    // Rows x columns may not exceed this many cells ...
    static constexpr int kMaxCells = 65535;
    // ... nor the row count this many (the row table's size): a taller
    // window gets this many rows.
    static constexpr int kMaxRows = 128;
    static constexpr int kTabWidth = 8;
    static constexpr char kBlank = ' ';

    TerminalGrid(int columns = 80, int rows = 25);

    int columns() const { return columns_; }
    int rows() const { return rows_; }
    // The cursor's column; it equals columns() after a character filled the
    // last column, and the next character wraps first.
    int cursor_column() const { return column_; }
    // The cursor's row on screen.
    int cursor_row() const { return row_; }
    // The cells of a row in display order (row 0 at the top).
    std::string_view row(int screen_row) const;

    // The receive step of one byte (logging aside). Gives true when the grid
    // scrolled, which moves every row on screen.
    bool receive(uint8_t byte, ReceiveTranslation translation);

    enum class ResizeResult { kResized, kTooLarge };
    // New counts from the window's client size (each at least 1, rows at
    // most kMaxRows). A grid of more than kMaxCells cells is refused and the
    // old one kept. Otherwise the rows up to the cursor's, the most recent
    // ones that fit, are copied in order and cut to the new width; the
    // cursor lands on the last copied row at its old column, or at 0 where
    // that lies outside the grid.
    ResizeResult resize(int columns, int rows);
    // The counts a client area of that size in pixels holds.
    static std::pair<int, int> counts_for(int width, int height, int char_width, int line_height);

private:
    char* cells(int screen_row) {
        return &cells_[size_t(table_[size_t(screen_row)]) * size_t(columns_)];
    }
    void blank_to_end();
    // Moves the cursor down one row, scrolling at the last row; gives
    // whether it scrolled.
    bool new_line();
    void put(uint8_t byte);

    int columns_;
    int rows_;
    std::vector<char> cells_;
    // Buffer row of each screen row, in display order.
    std::vector<int> table_;
    int column_ = 0;
    int row_ = 0;
};

} // namespace torva
