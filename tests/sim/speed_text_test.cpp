// The speed that Run Real Time shows: against a clock, unlimited, and
// nothing before the first measurement.
#include "sim/speed_text.h"

#include <gtest/gtest.h>

namespace torva::test {
namespace {

TEST(SpeedTextTest, speed_against_the_clock_or_unlimited) {
    struct Case {
        int line;
        double ratio, ips;
        uint32_t clock;
        CycleModel model;
        const char* text; // null: nothing measured, the status stays
    };
    const Case kCases[] = {
        {__LINE__, 0.0, 0.0, 8'000'000, CycleModel::Classic, nullptr},
        {__LINE__, -1.0, 5e6, 0, CycleModel::Cpu12, nullptr},
        {__LINE__, 0.999, 2e6, 8'000'000, CycleModel::Classic, "Real time ×1.00 (classic cycles)"},
        {__LINE__, 0.5, 2e6, 24'000'000, CycleModel::Cpu12, "Real time ×0.50 (CPU12 cycles)"},
        // Without a clock the ratio is against the board's own speed.
        {__LINE__, 4.567, 12'345'678, 0, CycleModel::Cpu12,
         "Real time unlimited: 12.3 M instructions/s (×4.57) (CPU12 cycles)"},
        {__LINE__, 123.0, 987.64e6, 0, CycleModel::Classic,
         "Real time unlimited: 987.6 M instructions/s (×123.00) (classic cycles)"},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.line);
        const auto text = real_time_speed_text(c.ratio, c.ips, c.clock, c.model);
        if (c.text == nullptr)
            EXPECT_FALSE(text.has_value());
        else
            EXPECT_EQ(c.text, text.value_or("?"));
    }
    EXPECT_EQ("Real time: starting (CPU12 cycles)", real_time_starting_text(CycleModel::Cpu12));
}

} // namespace
} // namespace torva::test
