// Times and windows as lab files write them, in cycles of the 8 MHz bus clock.
#include "lab/lab_time.h"

#include <gtest/gtest.h>

namespace torva::lab {
namespace {

TEST(LabTimeTest, TimesTurnIntoCyclesAtTheBusClock) {
    struct Case {
        int line;
        const char* text;
        std::optional<Cycles> cycles;
    };
    const Case cases[] = {
        {__LINE__, "1s", 8'000'000},
        {__LINE__, "20ms", 160'000},
        {__LINE__, "1.5 ms", 12'000},
        {__LINE__, "250us", 2'000},
        {__LINE__, "125ns", 1}, // one cycle
        {__LINE__, "100ns", 1}, // rounded to the nearest cycle
        {__LINE__, "40 cycles", 40},
        {__LINE__, " 0ms ", 0},
        {__LINE__, "20", std::nullopt},     // no unit
        {__LINE__, "20 min", std::nullopt}, // no such unit
        {__LINE__, "-5ms", std::nullopt},
        {__LINE__, "ms", std::nullopt},
        {__LINE__, "1.2.3ms", std::nullopt},
        {__LINE__, "100000s", std::nullopt}, // beyond a day: a slip of the keyboard
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(c.cycles, parse_time(c.text));
    }
}

TEST(LabTimeTest, WindowsLeaveOutEitherEnd) {
    const auto both = parse_window("5ms..80ms");
    ASSERT_TRUE(both);
    EXPECT_EQ(40'000u, both->from);
    EXPECT_EQ(640'000u, both->until);
    const auto from = parse_window("5ms..");
    ASSERT_TRUE(from);
    EXPECT_EQ(kEnd, from->until);
    const auto until = parse_window("..50ms");
    ASSERT_TRUE(until);
    EXPECT_EQ(0u, until->from);
    EXPECT_TRUE(until->contains(400'000));
    EXPECT_FALSE(until->contains(400'001));
    EXPECT_FALSE(parse_window("80ms..5ms")); // backwards
    EXPECT_FALSE(parse_window("5ms"));       // not a window
    EXPECT_FALSE(parse_window("5..6"));      // no units
}

TEST(LabTimeTest, TimesReadBackInMilliseconds) {
    EXPECT_EQ("10.1 ms", format_time(80'800));
    EXPECT_EQ("31 ms", format_time(248'000));
    EXPECT_EQ("0.000125 ms", format_time(1));
    EXPECT_EQ("0 ms", format_time(0));
    EXPECT_EQ("2 s", format_time(16'000'000));
    EXPECT_EQ("the end", format_time(kEnd));
}

} // namespace
} // namespace torva::lab
