#include "device_window_fixture.h"

#include "iosim/devices/display.h"
#include "iosim/devices/port_device.h"
#include "iosim/gui/device_painting.h"
#include "iosim/gui/port_window.h"
#include "iosim/gui/segment_window.h"

namespace torva {
namespace {

using PortWindowTest = test::DeviceWindowFixture;
using SegmentWindowTest = test::DeviceWindowFixture;

TEST_F(PortWindowTest, LedsShowTheByteWritten) {
    open<PortDevice>(DeviceType::kOutport);
    auto& leds = static_cast<PortWindow&>(*window);
    library.OutputSim(handle, 0x08, 0);
    const QImage shown = image();
    for (int bit = 0; bit < 8; ++bit) {
        SCOPED_TRACE(bit);
        EXPECT_EQ(bit == 3, lit_red(shown.pixelColor(leds.led_rect(bit).center())));
    }
    // LED 7 stands on the left.
    EXPECT_LT(leds.led_rect(7).left(), leds.led_rect(0).left());
    library.OutputSim(handle, 0xA5, 0);
    screenshot("outport");
}

// A click on a switch and the keys 0-7 change what the program reads.
TEST_F(PortWindowTest, SwitchesFlipByClickAndKey) {
    open<PortDevice>(DeviceType::kInport, "$600");
    auto& switches = static_cast<PortWindow&>(*window);
    click(switches.switch_rect(2).center());
    EXPECT_EQ(0x04, library.InputSim(handle, 0));
    type_key(Qt::Key_5, "5");
    EXPECT_EQ(0x24, library.InputSim(handle, 0));
    click(switches.switch_rect(2).center());
    type_key(Qt::Key_8, "8"); // no switch 8
    EXPECT_EQ(0x20, library.InputSim(handle, 0));
    // The lever of an "on" switch is drawn up: the top of its slot is light.
    const QImage shown = image();
    const QRect five = switches.switch_rect(5), four = switches.switch_rect(4);
    EXPECT_GT(shown.pixelColor(five.center().x(), five.top() + 6).lightness(), 200);
    EXPECT_LT(shown.pixelColor(four.center().x(), four.top() + 6).lightness(), 120);
    screenshot("inport");
}

TEST_F(PortWindowTest, InOutPortHasBoth) {
    auto& port = open<PortDevice>(DeviceType::kInOutPort);
    auto& both = static_cast<PortWindow&>(*window);
    library.OutputSim(handle, 0x81, 0);
    click(both.switch_rect(6).center());
    EXPECT_EQ(0x40, port.switches());
    EXPECT_TRUE(lit_red(colour_at(both.led_rect(7).center())));
    EXPECT_FALSE(lit_red(colour_at(both.led_rect(6).center())));
    screenshot("inoutport");
}

// Which segments of a digit are lit, checked at each segment's middle.
std::string lit_segments(const SegmentWindow& window, const QImage& shown, int digit) {
    std::string text;
    for (int s = 0; s < 8; ++s)
        text += test::DeviceWindowFixture::lit_red(
                    shown.pixelColor(segment_centre(window.digit_rect(digit), s).toPoint()))
                    ? "abcdefg."[s]
                    : '-';
    return text;
}

TEST_F(SegmentWindowTest, DigitsAreDrawnSegmentBySegment) {
    struct Case {
        int line;
        DeviceType type;
        std::vector<std::pair<uint32_t, uint8_t>> writes; // offset, byte
        std::vector<const char*> digits;                  // lit segments of the first digits
    };
    const Case cases[] = {
        {__LINE__, DeviceType::kHexDisplay, {{0, 0x1F}}, {"-bc-----", "a---efg-"}},
        {__LINE__, DeviceType::kHexDisplay, {{0, 0x80}}, {"abcdefg-", "abcdef--"}},
        {__LINE__, DeviceType::kSegmentDigit, {{0, 0x81}}, {"a------."}},
        {__LINE__, DeviceType::kSegmentDigit, {{0, 0x40}}, {"------g-"}},
        // Display: clear at position 0, then "2.", a blank, "d".
        {__LINE__,
         DeviceType::kDisplay,
         {{0, 0x80}, {1, 0x82}, {1, 0x10}, {1, 0x0D}},
         {"ab-de-g.", "--------", "-bcde-g-", "--------"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        open<Device>(c.type, "$C02");
        for (const auto& [offset, byte] : c.writes)
            library.OutputSim(handle, byte, int32_t(offset));
        const QImage shown = image();
        for (size_t digit = 0; digit < c.digits.size(); ++digit)
            EXPECT_EQ(c.digits[digit],
                      lit_segments(static_cast<SegmentWindow&>(*window), shown, int(digit)))
                << "digit " << digit;
    }
}

TEST_F(SegmentWindowTest, Screenshots) {
    open<PortDevice>(DeviceType::kHexDisplay);
    library.OutputSim(handle, 0x3C, 0);
    screenshot("hexdisplay");
    open<PortDevice>(DeviceType::kSegmentDigit);
    library.OutputSim(handle, 0x80 | kHexSegments[5], 0);
    screenshot("sevensegment");
    open<Display>(DeviceType::kDisplay, "$C02");
    library.OutputSim(handle, 0x80, 0);
    for (const uint8_t data : {0x01, 0x82, 0x03, 0x04, 0x10, 0x0A, 0x0B, 0x0C})
        library.OutputSim(handle, data, 1);
    screenshot("display");
}

} // namespace
} // namespace torva
