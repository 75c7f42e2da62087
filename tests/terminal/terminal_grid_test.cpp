// The terminal's grid: the receive translations, wrapping, tabs, hidden
// bytes, scrolling, and resizing with its content rule and its limit.
#include "terminal/terminal_grid.h"

#include <gtest/gtest.h>

#include <string>

namespace torva {
namespace {

using RT = ReceiveTranslation;

// Feeds text and gives the grid's rows, trailing blanks cut, joined by "|".
std::string screen(TerminalGrid& grid) {
    std::string text;
    for (int r = 0; r < grid.rows(); ++r) {
        std::string row(grid.row(r));
        row.erase(row.find_last_not_of(' ') + 1);
        text += (r ? "|" : "") + row;
    }
    return text;
}
void feed(TerminalGrid& grid, std::string_view bytes, RT mode) {
    for (const char c : bytes)
        grid.receive(uint8_t(c), mode);
}

TEST(TerminalGridTest, CarriageReturnsAndLineFeedsInEachTranslation) {
    struct Case {
        int line;
        RT mode;
        const char* bytes;
        const char* screen;
        int column, row;
    };
    const Case cases[] = {
        // CR LF is one new line where CR or LF alone starts a line
        {__LINE__, RT::kCarriageReturn, "ab\r\ncd", "ab|cd|", 2, 1},
        {__LINE__, RT::kLineFeed, "ab\r\ncd", "ab|cd|", 2, 1},
        {__LINE__, RT::kCarriageReturn, "ab\ncd", "abcd||", 4, 0}, // LF ignored
        {__LINE__, RT::kLineFeed, "ab\rcd", "abcd||", 4, 0},       // CR ignored
        // both translated: LF moves down only, CR returns to column 0
        {__LINE__, RT::kBoth, "ab\ncd", "ab|  cd|", 4, 1},
        {__LINE__, RT::kBoth, "ab\r\ncd", "ab|cd|", 2, 1},
        {__LINE__, RT::kBoth, "abcd\rxy\r", "xy||", 0, 0}, // CR blanks the rest of the row
        // backspace blanks the cell left of the cursor, not beyond column 0
        {__LINE__, RT::kCarriageReturn, "ab\b\b\bc", "c||", 1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        TerminalGrid grid(10, 3);
        feed(grid, c.bytes, c.mode);
        EXPECT_EQ(c.screen, screen(grid));
        EXPECT_EQ(c.column, grid.cursor_column());
        EXPECT_EQ(c.row, grid.cursor_row());
    }
}

TEST(TerminalGridTest, WrapsBeforeTheCharacterThatDoesNotFit) {
    TerminalGrid grid(4, 3);
    feed(grid, "abcd", RT::kCarriageReturn);
    EXPECT_EQ("abcd||", screen(grid));
    EXPECT_EQ(4, grid.cursor_column()); // full row, nothing wrapped yet
    feed(grid, "e", RT::kCarriageReturn);
    EXPECT_EQ("abcd|e|", screen(grid));
    // a row filled exactly, then CR LF: the CR wraps, the LF is ignored
    feed(grid, "fgh\r\ni", RT::kCarriageReturn);
    EXPECT_EQ("abcd|efgh|i", screen(grid));
}

TEST(TerminalGridTest, TabsStopAtMultiplesOfEightAndHighBytesAreHidden) {
    TerminalGrid grid(20, 2);
    grid.receive('\t', RT::kCarriageReturn);
    EXPECT_EQ(8, grid.cursor_column());
    feed(grid, "1234567", RT::kCarriageReturn);
    grid.receive('\t', RT::kCarriageReturn); // at column 15: one blank
    EXPECT_EQ(16, grid.cursor_column());
    grid.receive('\t', RT::kCarriageReturn);
    EXPECT_EQ(20, grid.cursor_column()); // stops at the row's end
    TerminalGrid other(20, 2);
    for (int byte = 0x80; byte <= 0xFF; ++byte)
        other.receive(uint8_t(byte), RT::kCarriageReturn);
    other.receive(0x07, RT::kCarriageReturn);
    EXPECT_EQ(0, other.cursor_column());
    EXPECT_EQ("|", screen(other));
}

TEST(TerminalGridTest, NewLineAtTheLastRowScrollsUp) {
    TerminalGrid grid(5, 3);
    EXPECT_FALSE(grid.receive('a', RT::kCarriageReturn));
    feed(grid, "\rb\rc", RT::kCarriageReturn);
    EXPECT_TRUE(grid.receive('\r', RT::kCarriageReturn));
    feed(grid, "d", RT::kCarriageReturn);
    EXPECT_EQ("b|c|d", screen(grid));
    EXPECT_EQ(2, grid.cursor_row());
}

TEST(TerminalGridTest, ResizeKeepsTheRecentRowsUpToTheCursor) {
    TerminalGrid grid(6, 5);
    feed(grid, "row0\rrow1\rrow2\rrow3xy", RT::kCarriageReturn);
    // Two rows hold the last two up to the cursor's, cut to three columns;
    // the cursor's column 6 lies outside and becomes 0.
    ASSERT_EQ(TerminalGrid::ResizeResult::kResized, grid.resize(3, 2));
    EXPECT_EQ("row|row", screen(grid));
    EXPECT_EQ(1, grid.cursor_row());
    EXPECT_EQ(0, grid.cursor_column());
    // Growing keeps them at the top; the cursor keeps a column inside.
    grid.receive('z', RT::kCarriageReturn);
    ASSERT_EQ(TerminalGrid::ResizeResult::kResized, grid.resize(10, 4));
    EXPECT_EQ("row|zow||", screen(grid));
    EXPECT_EQ(1, grid.cursor_row());
    EXPECT_EQ(1, grid.cursor_column());
}

TEST(TerminalGridTest, AGridBeyondItsLimitsIsRefusedOrClipped) {
    TerminalGrid grid(80, 25);
    feed(grid, "kept", RT::kCarriageReturn);
    EXPECT_EQ(TerminalGrid::ResizeResult::kTooLarge, grid.resize(600, 110)); // 66000 cells
    EXPECT_EQ(80, grid.columns());
    EXPECT_EQ(25, grid.rows());
    EXPECT_EQ("kept", grid.row(0).substr(0, 4));
    ASSERT_EQ(TerminalGrid::ResizeResult::kResized, grid.resize(300, 1000));
    EXPECT_EQ(TerminalGrid::kMaxRows, grid.rows());
    EXPECT_EQ((std::pair{1, 1}), TerminalGrid::counts_for(3, 5, 8, 16)); // at least one each
}

} // namespace
} // namespace torva
