#include "io/device_selection_dialog.h"

#include "iosim/io_simulator.h"

#include <gtest/gtest.h>

namespace torva {
namespace {

TEST(DeviceSelectionDialogTest, TabsExpandToTheNextMultipleOfFour) {
    struct Case {
        int line;
        const char* in;
        const char* out;
    };
    const Case cases[] = {
        {__LINE__, "1\tab", "1   ab"},
        {__LINE__, "\tx", "    x"},          // a tab at column 0 fills four
        {__LINE__, "abcd\te", "abcd    e"},  // and so does one at a multiple of four
        {__LINE__, "abc\t\te", "abc     e"}, // one space, then four
        {__LINE__, "a\tb\rc\td", "a   b"},   // cut at the carriage return
        {__LINE__, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(c.out, expand_tabs(c.in));
    }
}

TEST(DeviceSelectionDialogTest, ListsTheOfferedTypesAndSelectsByNumber) {
    IoSimulator library;
    DeviceTypeList types;
    types.fetch(library);
    const DeviceSelectionDialogLogic outport(types, library.GetIOVersion(), PortKind::kOutport,
                                             0x400);
    EXPECT_EQ("Simulated IO Setup (IOSIMULATOR Version: 100)", outport.title());
    EXPECT_EQ("0400", outport.address_field());
    ASSERT_EQ(4u, outport.lines().size());
    EXPECT_EQ("1   Outport 1   Eight LEDs, lit by the bits written", outport.lines()[0]);
    EXPECT_EQ("12  SevenSegment    1   One seven-segment digit, a bit per segment",
              outport.lines()[3]);
    EXPECT_EQ(1, outport.select(0));
    EXPECT_EQ(3, outport.select(1));
    EXPECT_EQ(12, outport.select(3));
    EXPECT_EQ(-1, outport.select(4));
    EXPECT_EQ(-1, outport.select(-1));

    const DeviceSelectionDialogLogic port_b(types, 7, PortKind::kPortB, 0x1);
    EXPECT_EQ("0001", port_b.address_field());
    EXPECT_EQ(5u, port_b.lines().size());
    EXPECT_EQ(2, port_b.select(1));

    // Types the library does not name are not offered.
    DeviceTypeList partial;
    partial.parse("2\tInport\t1\tswitches\r5\tPrinter\t4\tpaper");
    const DeviceSelectionDialogLogic inport(partial, 7, PortKind::kInport, 0x600);
    ASSERT_EQ(1u, inport.lines().size());
    EXPECT_EQ("2   Inport  1   switches", inport.lines()[0]);
}

} // namespace
} // namespace torva
