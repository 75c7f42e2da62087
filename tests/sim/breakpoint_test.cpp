#include "sim/breakpoint_dialog.h"
#include "sim/breakpoint_table.h"

#include <gtest/gtest.h>

namespace torva {
namespace {

TEST(BreakpointTableTest, FirstFreeEntryNoDuplicatesAndTheFullTable) {
    BreakpointTable table;
    EXPECT_EQ(0, table.add(0x1000, BreakState::kEnabled));
    EXPECT_EQ(-1, table.add(0x1000, BreakState::kDisabled)); // present: unchanged
    EXPECT_EQ(BreakState::kEnabled, table.state_of(0x1000));
    EXPECT_EQ(1, table.add(0x3C8000, BreakState::kTemporary)); // paged, same low bits as $8000
    EXPECT_EQ(-1, table.find(0x8000));
    table.remove(0x1000);
    EXPECT_EQ(0, table.add(0x2000, BreakState::kEnabled)); // the freed entry first
    EXPECT_EQ(-1, table.add(Breakpoint::kFree, BreakState::kEnabled));

    table.clear();
    for (uint32_t i = 0; i < BreakpointTable::kCapacity; ++i)
        ASSERT_EQ(int(i), table.add(0x10000 + i, BreakState::kEnabled));
    EXPECT_EQ(-1, table.add(0x1000, BreakState::kEnabled)); // the 4001st
    EXPECT_EQ(-1, table.find(0x1000));
    EXPECT_EQ(BreakpointTable::kCapacity, table.used_count());
    EXPECT_EQ(3999, table.find(0x10000 + 3999));
    table.remove_at(3999);
    EXPECT_FALSE(table.may_hold(0x10000 + 3999));
    EXPECT_TRUE(table.may_hold(0x10000 + 3998));
}

TEST(BreakpointDialogTest, AddressFieldIsHexadecimal) {
    struct Case {
        int line;
        const char* text;
        std::optional<uint32_t> address;
    };
    const Case cases[] = {
        {__LINE__, "", 0u},          // empty is 0
        {__LINE__, "0000", 0u},      // the preset field
        {__LINE__, "1a2B", 0x1A2Bu}, // either case
        {__LINE__, "3C8000", 0x3C8000u},
        {__LINE__, "FFFFFFFF", 0xFFFFFFFFu},
        {__LINE__, "12G4", std::nullopt},      // not a digit
        {__LINE__, "$1000", std::nullopt},     // no prefixes
        {__LINE__, " 1000", std::nullopt},     // no blanks
        {__LINE__, "123456789", std::nullopt}, // too long to be an address
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(c.address, parse_break_address(c.text));
    }
}

TEST(BreakpointDialogTest, ListToggleAndRemove) {
    BreakpointTable table;
    table.add(0x1000, BreakState::kEnabled);
    table.add(0x20, BreakState::kDisabled);
    table.add(0x3C8000, BreakState::kTemporary);
    BreakpointDialogLogic dialog(table);
    EXPECT_EQ((std::vector<std::string>{"1000", "0020 (Disabled)", "3C8000"}), dialog.lines());
    EXPECT_EQ("&Disable", dialog.toggle_label());
    EXPECT_FALSE(dialog.buttons_enabled());

    EXPECT_EQ("Badly formed address", dialog.add("10x0"));
    EXPECT_EQ(std::nullopt, dialog.add("abc"));
    EXPECT_EQ("0ABC", dialog.lines().back());
    EXPECT_EQ(std::nullopt, dialog.add("1000")); // present: not again
    EXPECT_EQ(4u, dialog.lines().size());

    dialog.select(1);
    EXPECT_TRUE(dialog.buttons_enabled());
    EXPECT_EQ("&Enable", dialog.toggle_label());
    dialog.toggle();
    EXPECT_EQ("0020", dialog.lines()[1]);
    EXPECT_EQ("&Disable", dialog.toggle_label());

    // A temporary entry toggles to disabled, then back as a permanent one.
    dialog.select(2);
    EXPECT_EQ("&Disable", dialog.toggle_label());
    dialog.toggle();
    dialog.toggle();
    EXPECT_EQ(BreakState::kEnabled, table.state_of(0x3C8000));

    dialog.select(0);
    dialog.remove();
    EXPECT_EQ((std::vector<std::string>{"0020", "3C8000", "0ABC"}), dialog.lines());
    EXPECT_FALSE(dialog.buttons_enabled());
    dialog.select(7); // beyond the list: no selection
    EXPECT_FALSE(dialog.buttons_enabled());
}

// The table changes under an open dialog (a run hits a temporary entry,
// another is entered): the list follows, the selection stays on its address
// while it lives, and the buttons never act on an entry that went.
TEST(BreakpointDialogTest, ListFollowsTheTableAndKeepsTheSelection) {
    BreakpointTable table;
    table.add(0x1000, BreakState::kEnabled);
    table.add(0x1010, BreakState::kTemporary);
    BreakpointDialogLogic dialog(table);
    EXPECT_FALSE(dialog.follow_table()) << "nothing changed yet";
    dialog.select(1);

    table.remove(0x1010); // hit while the dialog is open
    table.add(0x1020, BreakState::kEnabled);
    EXPECT_EQ(2u, dialog.lines().size()) << "the list is not read again by itself";
    dialog.toggle(); // the selected entry went: nothing happens, nothing else flips
    EXPECT_EQ(BreakState::kEnabled, table.state_of(0x1020));
    EXPECT_EQ((std::vector<std::string>{"1000", "1020"}), dialog.lines());
    EXPECT_EQ(-1, dialog.selected());
    dialog.remove();
    EXPECT_EQ(2, table.used_count());

    dialog.select(1);
    table.remove(0x1000);
    EXPECT_TRUE(dialog.follow_table());
    EXPECT_EQ((std::vector<std::string>{"1020"}), dialog.lines());
    EXPECT_EQ(0, dialog.selected()) << "still 1020";
    dialog.remove();
    EXPECT_EQ(0, table.used_count());
}

} // namespace
} // namespace torva
