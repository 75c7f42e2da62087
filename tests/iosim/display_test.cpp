#include "iosim/devices/display.h"

#include <gtest/gtest.h>

namespace torva {
namespace {

TEST(DisplayTest, DigitsFillFromTheSelectedPosition) {
    Display display("$C02");
    EXPECT_EQ("        ", display.text());
    display.write(Display::kControl, 0x02);
    for (uint8_t v : {0x01, 0x82, 0x0A, 0x1F})
        display.write(Display::kData, v);
    EXPECT_EQ("  12.A   ", display.text()); // $1F is a blank digit
    EXPECT_EQ(6, display.position());
    EXPECT_TRUE(display.digit(3).point);
    EXPECT_EQ(0x0A, display.digit(4).value);
    EXPECT_EQ(0xFF, display.read(0));
    EXPECT_EQ(0xFF, display.read(1));
}

TEST(DisplayTest, PositionWrapsAndClearBlanksAll) {
    Display display("$9C2");
    display.write(Display::kControl, 0x07);
    display.write(Display::kData, 0x0E);
    display.write(Display::kData, 0x0F); // wraps to the leftmost digit
    EXPECT_EQ("F      E", display.text());
    display.write(Display::kControl, 0x83); // clear, then position 3
    EXPECT_EQ("        ", display.text());
    EXPECT_EQ(3, display.position());
    const uint64_t changes = display.change_count();
    display.write(2, 0x00); // no such register
    EXPECT_EQ(changes, display.change_count());
}

} // namespace
} // namespace torva
