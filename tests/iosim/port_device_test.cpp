#include "iosim/io_simulator.h"

#include "iosim/devices/port_device.h"

#include <gtest/gtest.h>

namespace torva {
namespace {

TEST(PortDeviceTest, EachPortTypeReadsAndWritesItsHalves) {
    struct Case {
        int line;
        int type;
        uint8_t outputs_after_write; // after writing $A5
        uint8_t read;                // with the switches at $3C
    };
    const Case cases[] = {
        {__LINE__, 1, 0xA5, 0xA5},  // LEDs: reads back what was written
        {__LINE__, 2, 0x00, 0x3C},  // switches: writes go nowhere
        {__LINE__, 3, 0xA5, 0xA5},  // hex display
        {__LINE__, 11, 0xA5, 0x3C}, // LEDs out, switches in
        {__LINE__, 12, 0xA5, 0xA5}, // segments
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        IoSimulator lib;
        const int32_t h = lib.OpenSim(c.type, "$400", 0);
        auto* port = lib.device_as<PortDevice>(h);
        ASSERT_NE(nullptr, port);
        port->set_switches(0x3C);
        EXPECT_EQ(0, lib.OutputSim(h, 0xA5, 0));
        EXPECT_EQ(c.outputs_after_write, port->outputs());
        EXPECT_EQ(c.read, lib.InputSim(h, 0));
        // Offsets beyond the one register.
        lib.OutputSim(h, 0x11, 1);
        EXPECT_EQ(c.outputs_after_write, port->outputs());
        EXPECT_EQ(0xFF, lib.InputSim(h, 1));
        EXPECT_EQ(0, lib.IsIosimPendingIrq(h));
    }
}

TEST(PortDeviceTest, SwitchesOneByOne) {
    PortDevice port(DeviceType::kInport, "$600");
    port.set_switch(0, true);
    port.set_switch(7, true);
    port.set_switch(0, false);
    port.set_switch(8, true); // no such switch
    port.set_switch(-1, true);
    EXPECT_EQ(0x80, port.read(0));
    const uint64_t changes = port.change_count();
    port.set_switch(7, true); // no change, no notification
    EXPECT_EQ(changes, port.change_count());
}

// The LEDs' persistence: over a display frame each output bit is as bright
// as its share of the frame's time lit; without averaged frames (a halted
// or stepped board) the latched bits show as they are.
TEST(PortDeviceTest, LedsShowTheirShareOfTheFrameLit) {
    IoSimulator lib;
    uint32_t cycles = 0;
    lib.set_time_source(&cycles);
    const int32_t h = lib.OpenSim(int32_t(DeviceType::kOutport), "$400", 0);
    auto* port = lib.device_as<PortDevice>(h);
    ASSERT_NE(nullptr, port);
    lib.OutputSim(h, 0x03, 0);
    EXPECT_EQ(1.0, port->brightness(0)) << "latched before any frame";
    cycles += 750;
    lib.OutputSim(h, 0x02, 0);
    cycles += 250;
    const uint64_t changes = port->change_count();
    lib.end_display_frame(true);
    EXPECT_GT(port->change_count(), changes) << "the window repaints the new levels";
    EXPECT_DOUBLE_EQ(0.75, port->brightness(0));
    EXPECT_DOUBLE_EQ(1.0, port->brightness(1));
    EXPECT_DOUBLE_EQ(0.0, port->brightness(2));
    cycles += 100; // a frame lit throughout
    lib.end_display_frame(true);
    EXPECT_DOUBLE_EQ(0.0, port->brightness(0));
    EXPECT_DOUBLE_EQ(1.0, port->brightness(1));
    cycles += 40;
    lib.OutputSim(h, 0x01, 0);
    lib.end_display_frame(false); // the run ended
    EXPECT_EQ(1.0, port->brightness(0));
    EXPECT_EQ(0.0, port->brightness(1));
}

} // namespace
} // namespace torva
