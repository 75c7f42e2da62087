// Breakpoints kept by source line: read from the table through one build's
// map, moved with edits, placed through the next build's map; their stored
// text survives garbage.
#include "sim/source_breakpoints.h"

#include <gtest/gtest.h>

namespace torva {
namespace {

constexpr char kLoadFile[] = "/lab/blink.s19";
constexpr char kMain[] = "/lab/blink.asm";
constexpr char kInclude[] = "/lab/inc/wait.inc";

// blink.asm lines 3, 4 and 7 and wait.inc line 2 hold code.
DebugMap first_build() {
    DebugMap map;
    map.files = {"blink.asm", "inc/wait.inc"};
    map.ranges = {{0x1000, 2, 0, 3}, {0x1002, 3, 0, 4}, {0x1005, 1, 0, 7}, {0x2000, 1, 1, 2}};
    return map;
}

// The same program with a line inserted above line 4 of blink.asm and
// different instruction lengths: its lines 4, 5 and 8 hold code.
DebugMap second_build() {
    DebugMap map;
    map.files = {"blink.asm", "inc/wait.inc"};
    map.ranges = {{0x1000, 3, 0, 4}, {0x1003, 3, 0, 5}, {0x1006, 1, 0, 8}, {0x2000, 1, 1, 2}};
    return map;
}

std::vector<LineBreakpoint> kept(const SourceBreakpoints& keeper, const char* path) {
    const auto lines = keeper.lines(path);
    return {lines.begin(), lines.end()};
}

TEST(SourceBreakpoints, FollowTheirLinesIntoTheNextBuild) {
    BreakpointTable table;
    table.add(0x1002, BreakState::kEnabled);
    table.add(0x1005, BreakState::kDisabled);
    table.add(0x2000, BreakState::kEnabled);
    table.add(0x1000, BreakState::kTemporary); // Goto here: not the user's
    table.add(0x3000, BreakState::kEnabled);   // outside the program's code

    SourceBreakpoints keeper;
    const auto changed = keeper.take_from_table(first_build(), kLoadFile, table);
    EXPECT_EQ((std::vector<std::string>{kMain, kInclude}), changed);
    EXPECT_EQ((std::vector<LineBreakpoint>{{4, true}, {7, false}}), kept(keeper, kMain));
    EXPECT_EQ((std::vector<LineBreakpoint>{{2, true}}), kept(keeper, kInclude));
    EXPECT_TRUE(keeper.take_from_table(first_build(), kLoadFile, table).empty())
        << "nothing changed the second time";

    // The editor moved both lines down by one; Reload keeps the table, so
    // the old addresses are still in it and must not stay as strays in the
    // middle of the new instructions.
    keeper.set_lines(kMain, {{5, true}, {8, false}});
    keeper.place(second_build(), kLoadFile, table);
    EXPECT_EQ(BreakState::kEnabled, table.state_of(0x1003));
    EXPECT_EQ(BreakState::kDisabled, table.state_of(0x1006));
    EXPECT_EQ(BreakState::kEnabled, table.state_of(0x2000));
    EXPECT_FALSE(table.state_of(0x1002)) << "old address inside line 4 now";
    EXPECT_FALSE(table.state_of(0x1005)) << "old address inside line 5 now";
    EXPECT_EQ(BreakState::kTemporary, table.state_of(0x1000));
    EXPECT_EQ(BreakState::kEnabled, table.state_of(0x3000));
    EXPECT_EQ(5, table.used_count());
}

TEST(SourceBreakpoints, LinesWithoutCodeTakeTheNextLineWithCode) {
    SourceBreakpoints keeper;
    // Line 1 lands on 3; 5 and 6 both land on 7 (the first keeps its
    // state); line 9 is past the last code and places nothing.
    keeper.set_lines(kMain, {{1, false}, {5, true}, {6, false}, {9, true}});
    BreakpointTable table;
    keeper.place(first_build(), kLoadFile, table);
    EXPECT_EQ(BreakState::kDisabled, table.state_of(0x1000));
    EXPECT_EQ(BreakState::kEnabled, table.state_of(0x1005));
    EXPECT_EQ(2, table.used_count());
    // Read back, the lines are where they landed.
    keeper.take_from_table(first_build(), kLoadFile, table);
    EXPECT_EQ((std::vector<LineBreakpoint>{{3, false}, {7, true}}), kept(keeper, kMain));
}

TEST(SourceBreakpoints, FilesNeverKeptLeaveTheTableAlone) {
    BreakpointTable table;
    table.add(0x1002, BreakState::kEnabled);
    SourceBreakpoints keeper;
    keeper.set_lines("/elsewhere/other.asm", {{4, true}});
    keeper.place(first_build(), kLoadFile, table);
    EXPECT_EQ(BreakState::kEnabled, table.state_of(0x1002));
    EXPECT_EQ(1, table.used_count());
    // A file kept with no lines does clear its code's entries.
    keeper.set_lines(kMain, {});
    keeper.place(first_build(), kLoadFile, table);
    EXPECT_EQ(0, table.used_count());
}

TEST(SourceBreakpoints, SetLinesSortsAndDropsWhatCannotBeALine) {
    SourceBreakpoints keeper;
    EXPECT_TRUE(keeper.set_lines(kMain, {{9, true},
                                         {0, true},
                                         {4, false},
                                         {9, false},
                                         {SourceBreakpoints::kMaxLine + 1, true},
                                         {-2, true}}));
    EXPECT_EQ((std::vector<LineBreakpoint>{{4, false}, {9, true}}), kept(keeper, kMain));
    EXPECT_FALSE(keeper.set_lines(kMain, {{4, false}, {9, true}}));
}

TEST(SourceBreakpoints, StoredTextRoundTripsAndGarbageIsSkipped) {
    const std::vector<LineBreakpoint> lines{{15, true}, {16, false}, {200000, true}};
    EXPECT_EQ("15:1,16:0,200000:1", format_line_breakpoints(lines));
    EXPECT_EQ(lines, parse_line_breakpoints(format_line_breakpoints(lines)));

    const struct {
        const char* text;
        std::vector<LineBreakpoint> lines;
    } cases[] = {
        {"", {}},
        {"garbage", {}},
        {",,,", {}},
        {"15:1,x:1,17:2,18:0", {{15, true}, {18, false}}},
        {"-3:1,0:1,99999999999:1,12", {}},
        {"7:1:1, 8:1,9 :1,10:1", {{10, true}}},
        {"\xff\xfe:1,5:0", {{5, false}}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.lines, parse_line_breakpoints(c.text)) << '"' << c.text << '"';
}

} // namespace
} // namespace torva
