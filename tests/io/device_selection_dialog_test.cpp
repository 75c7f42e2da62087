// The device type list the library gives and the dialog that offers it.
#include "io/device_selection_dialog.h"
#include "io/device_type_list.h"

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

TEST(DeviceTypeListTest, ReadsRecordsAndSkipsBrokenOnes) {
    struct Case {
        int line;
        std::string text;
        int32_t type;
        bool known;
        const char* name;
        int32_t size;
        const char* description;
    };
    const std::string long_name(20, 'N');
    const std::string long_text(70, 'd');
    const Case cases[] = {
        {__LINE__, "5\tPrinter\t4\tA printer", 5, true, "Printer", 4, "A printer"},
        {__LINE__, "1\tA\t1\tx\r2\tB\t2\ty", 2, true, "B", 2, "y"}, // second record
        {__LINE__, "0\tZero\t1\t", 0, true, "Zero", 1, ""},         // type 0 is kept
        {__LINE__, "14\tLast\t3\tz", 14, true, "Last", 3, "z"},
        {__LINE__, "15\tBeyond\t3\tz", 15, false, "", 0, ""}, // only 0 to 14
        {__LINE__, "-1\tNeg\t3\tz", -1, false, "", 0, ""},
        {__LINE__, "3\tNoSize", 3, false, "", 0, ""}, // fields missing
        {__LINE__, "3\t\t2\tno name", 3, false, "", 0, ""},
        {__LINE__, "x\tBad\t2\tz", 3, false, "", 0, ""},
        {__LINE__, "4\t" + long_name + "\t1\t" + long_text, 4, true, "NNNNNNNNNNNNNNN", 1,
         "ddddddddddddddddddddddddddddddddddddddddddddddddddddddddddddddd"},
        {__LINE__, std::string("6\tCut\t2\tbefore\0after", 20), 6, true, "Cut", 2, "before"},
        {__LINE__, "7\tDesc\t2\twith\ttabs", 7, true, "Desc", 2, "with\ttabs"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        DeviceTypeList list;
        list.parse(c.text);
        const DeviceTypeEntry* entry = list.find(c.type);
        ASSERT_EQ(c.known, entry != nullptr);
        EXPECT_EQ(c.size, list.size(c.type));
        if (!entry) continue;
        EXPECT_EQ(c.name, entry->name);
        EXPECT_EQ(c.description, entry->description);
    }
}

} // namespace
} // namespace torva
