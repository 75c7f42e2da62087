#include "iosim/devices/flip_flop.h"

#include <gtest/gtest.h>

namespace torva {
namespace {

TEST(FlipFlopTest, ButtonSetsReadReturnsAndClears) {
    FlipFlop ff("$DC0");
    EXPECT_EQ(0x00, ff.read(0));
    EXPECT_FALSE(ff.irq_pending());
    ff.press_button();
    ff.press_button(); // a second press before service is one request
    EXPECT_TRUE(ff.irq_pending());
    EXPECT_EQ(0x01, ff.read(0));
    EXPECT_FALSE(ff.irq_pending());
    EXPECT_EQ(0x00, ff.read(0));
    EXPECT_EQ(2u, ff.presses());
}

TEST(FlipFlopTest, WriteClearsOtherOffsetsDoNothing) {
    FlipFlop ff("$DC0");
    ff.press_button();
    EXPECT_EQ(0xFF, ff.read(1));
    ff.write(1, 0);
    EXPECT_TRUE(ff.is_set());
    ff.write(0, 0xFF);
    EXPECT_FALSE(ff.is_set());
}

} // namespace
} // namespace torva
