// Feeds arbitrary bytes to a terminal as a board would send them, with
// window resizes in between: whatever arrives, the cursor stays on the
// grid, every row keeps the grid's width, only printable characters and
// blanks are shown, a printable byte lands just left of the cursor, and a
// resize beyond the cell limit keeps the old grid.
//
// Input: byte 0 picks the receive translation, bytes 1-3 the starting
// columns (two bytes) and rows. Then, in the rest, $FF followed by four
// bytes resizes to columns (two bytes) x rows (two bytes); any other byte
// is received.
#include "terminal/terminal_session.h"

#include <cstdint>
#include <cstdlib>
#include <span>

namespace {

using torva::ReceiveTranslation;
using torva::TerminalGrid;

void check(bool condition) {
    if (!condition) std::abort();
}

void check_grid(const TerminalGrid& grid) {
    check(grid.columns() >= 1 && grid.rows() >= 1);
    check(grid.rows() <= TerminalGrid::kMaxRows);
    check(int64_t(grid.columns()) * grid.rows() <= TerminalGrid::kMaxCells);
    check(grid.cursor_row() >= 0 && grid.cursor_row() < grid.rows());
    // The column may stand just past the last one until the next byte wraps.
    check(grid.cursor_column() >= 0 && grid.cursor_column() <= grid.columns());
}

void check_cells(const TerminalGrid& grid) {
    for (int r = 0; r < grid.rows(); ++r) {
        const std::string_view row = grid.row(r);
        check(row.size() == size_t(grid.columns()));
        for (const char c : row)
            check(uint8_t(c) >= 32 && uint8_t(c) <= 127);
    }
}

int number16(const uint8_t* at) {
    return at[0] << 8 | at[1];
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 4) return 0;
    torva::TerminalSettings settings;
    settings.receive = ReceiveTranslation(data[0] % 3);
    torva::TerminalSession session(torva::SerialPortEntry{0, "/dev/null", "fuzz", -1}, settings);
    TerminalGrid& grid = session.grid();
    if (grid.resize(number16(data + 1), data[3]) == TerminalGrid::ResizeResult::kResized)
        check_grid(grid);

    for (size_t i = 4; i < size; ++i) {
        const uint8_t byte = data[i];
        if (byte == 0xFF && i + 4 < size) {
            const int columns = grid.columns();
            const int rows = grid.rows();
            const int wanted_columns = number16(data + i + 1);
            const int wanted_rows = number16(data + i + 3);
            i += 4;
            if (grid.resize(wanted_columns, wanted_rows) == TerminalGrid::ResizeResult::kTooLarge)
                check(grid.columns() == columns && grid.rows() == rows);
            check_grid(grid);
            continue;
        }
        session.receive(std::span(&byte, 1));
        check_grid(grid);
        if (byte > 32 && byte < 127) {
            // Written at the cursor, which moved one column on.
            check(grid.cursor_column() >= 1);
            check(uint8_t(grid.row(grid.cursor_row())[size_t(grid.cursor_column() - 1)]) == byte);
        }
    }
    check_cells(grid);
    return 0;
}
