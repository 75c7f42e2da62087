// The Output window's line store: wrapping, tabs, dropped controls, the
// scroll position after appending and clearing, and the message parse.
#include "shell/output_lines.h"

#include <gtest/gtest.h>

#include <numeric>
#include <string>
#include <vector>

namespace torva {
namespace {

struct AppendCase {
    int line;
    int width;
    std::string text;
    std::vector<std::string> stored;
    std::string building;
};

TEST(OutputLinesTest, append_stores_wraps_and_filters) {
    const std::string x300(300, 'x');
    const AppendCase cases[] = {
        {__LINE__, 80, "abc", {}, "abc"},      // no line feed: still being built
        {__LINE__, 80, "abc\n", {"abc"}, ""},  // line feed stores it
        {__LINE__, 80, "\n\n", {"", ""}, ""},  // empty lines are lines
        {__LINE__, 80, "a\tb\n", {"a b"}, ""}, // a tab is exactly one blank
        {__LINE__,
         80,
         "a\x01\r\x1b"
         "b\n",
         {"ab"},
         ""},                                                      // other controls are dropped
        {__LINE__, 4, "abcdefghij\n", {"abcd", "efgh", "ij"}, ""}, // cut at the width
        {__LINE__, 4, "abcd\n", {"abcd"}, ""},      // a line feed at the width ends it once
        {__LINE__, 4, "abcd", {}, "abcd"},          // full, waiting for the next character
        {__LINE__, 4, "ab\tcdef", {"ab c"}, "def"}, // the tab counts as one column
        {__LINE__, 0, x300, {std::string(255, 'x')}, std::string(45, 'x')},   // unsized: 255
        {__LINE__, 300, x300, {std::string(255, 'x')}, std::string(45, 'x')}, // never past 255
        {__LINE__, 80, "\xc3\xa9t\xc3\xa9\n", {"\xc3\xa9t\xc3\xa9"}, ""}, // bytes above 127 kept
    };
    for (const AppendCase& c : cases) {
        SCOPED_TRACE(c.line);
        OutputLines store;
        store.set_size(c.width, 10);
        store.append(c.text);
        EXPECT_EQ(c.stored, store.lines());
        EXPECT_EQ(c.building, store.building());
    }
}

TEST(OutputLinesTest, appending_in_pieces_continues_the_line) {
    OutputLines store;
    store.set_size(80, 10);
    store.append("ab");
    store.append("c");
    EXPECT_TRUE(store.lines().empty());
    store.append("\n");
    EXPECT_EQ(std::vector<std::string>{"abc"}, store.lines());
}

TEST(OutputLinesTest, wrapping_loses_no_character) {
    std::string text;
    for (int i = 0; i < 500; ++i)
        text += static_cast<char>('A' + i % 26);
    text += "\n";
    for (int width : {1, 7, 13, 80}) {
        SCOPED_TRACE(width);
        OutputLines store;
        store.set_size(width, 10);
        store.append(text);
        const std::string joined =
            std::accumulate(store.lines().begin(), store.lines().end(), std::string());
        EXPECT_EQ(text.substr(0, text.size() - 1), joined);
        for (const std::string& line : store.lines())
            EXPECT_LE(static_cast<int>(line.size()), width);
    }
}

TEST(OutputLinesTest, appending_puts_the_newest_line_half_way_down) {
    OutputLines store;
    store.set_size(80, 10);
    for (int i = 0; i < 8; ++i)
        store.append("line\n");
    EXPECT_EQ(0, store.first_visible()); // fits: no scrolling
    for (int i = 0; i < 17; ++i)
        store.append("line\n");
    EXPECT_EQ(24, store.last_line());
    EXPECT_EQ(24 - 10 / 2, store.first_visible());
}

TEST(OutputLinesTest, clearing_then_filling_shows_the_newest_lines) {
    OutputLines store;
    store.set_size(80, 10);
    for (int i = 0; i < 40; ++i)
        store.append("old\n");
    store.clear();
    EXPECT_EQ(-1, store.last_line());
    EXPECT_EQ(0, store.first_visible());
    EXPECT_TRUE(store.scroll_to_end_pending());
    store.settle_for_paint(); // nothing yet to scroll to: stays pending
    EXPECT_TRUE(store.scroll_to_end_pending());
    for (int i = 0; i < 33; ++i)
        store.append("new " + std::to_string(i) + "\n");
    store.settle_for_paint();
    EXPECT_FALSE(store.scroll_to_end_pending());
    EXPECT_EQ(33 - 10, store.first_visible()); // the last ten lines fill the window
}

TEST(OutputLinesTest, scroll_requests_move_within_the_range) {
    struct Case {
        int line;
        int start;
        ScrollRequest request;
        int position;
        int expected_first;
    };
    // 30 lines, 10 rows: the range is 29 (the last line number).
    const Case cases[] = {
        {__LINE__, 5, ScrollRequest::line_up, 0, 4},
        {__LINE__, 5, ScrollRequest::line_down, 0, 6},
        {__LINE__, 5, ScrollRequest::page_up, 0, 0}, // clamped at the top
        {__LINE__, 5, ScrollRequest::page_down, 0, 15},
        {__LINE__, 25, ScrollRequest::page_down, 0, 29}, // clamped at the range
        {__LINE__, 5, ScrollRequest::top, 0, 0},
        {__LINE__, 5, ScrollRequest::bottom, 0, 29},
        {__LINE__, 5, ScrollRequest::thumb, 12, 12},
        {__LINE__, 0, ScrollRequest::line_up, 0, 0}, // zero step: nothing moves
        {__LINE__, 5, ScrollRequest::thumb, 400, 29},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        OutputLines store;
        store.set_size(80, 10);
        for (int i = 0; i < 30; ++i)
            store.append("x\n");
        store.scroll(ScrollRequest::thumb, c.start);
        ASSERT_EQ(c.start, store.first_visible());
        store.scroll(c.request, c.position);
        EXPECT_EQ(c.expected_first, store.first_visible());
    }
}

TEST(OutputLinesTest, scroll_range_is_at_least_the_visible_rows) {
    OutputLines store;
    store.set_size(80, 10);
    store.append("one\ntwo\n");
    EXPECT_EQ(10, store.scroll_range());
}

TEST(OutputLinesTest, message_reference_parse) {
    struct Case {
        int line;
        std::string text;
        bool found;
        std::string file;
        int number;
    };
    const Case cases[] = {
        {__LINE__, "\"/src/main.asm\" (12): error: bad", true, "/src/main.asm", 12},
        {__LINE__, "\"C:/a b/x.asm\" ( 42): warning: w", true, "C:/a b/x.asm", 42},
        {__LINE__, "(1) \"a.asm\" (7)", true, "a.asm", 7},      // the "(" after the name counts
        {__LINE__, "\"a.asm\" line 5, ERROR: x", false, "", 0}, // no parentheses
        {__LINE__, "main.asm (3): error", false, "", 0},        // no quotes
        {__LINE__, "\"a.asm\" (x)", false, "", 0},              // no number
        {__LINE__, "\"a.asm\" (0)", false, "", 0},              // no line 0
        {__LINE__, "\"a.asm\" (-4)", false, "", 0},
        {__LINE__, "\"\" (3)", false, "", 0},     // no file
        {__LINE__, "\"a.asm (3)", false, "", 0},  // unterminated quote
        {__LINE__, "\"a.asm\" (3", false, "", 0}, // unterminated parenthesis
        {__LINE__, "", false, "", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        MessageReference reference;
        ASSERT_EQ(c.found, parse_message_reference(c.text, reference));
        if (!c.found) continue;
        EXPECT_EQ(c.file, reference.file);
        EXPECT_EQ(c.number, reference.line);
    }
}

} // namespace
} // namespace torva
