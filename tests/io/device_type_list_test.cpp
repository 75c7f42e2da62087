#include "io/device_type_list.h"

#include <gtest/gtest.h>

#include <string>

namespace torva {
namespace {

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
