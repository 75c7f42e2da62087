#include "iosim/io_simulator.h"

#include "iosim/devices/serial_device.h"

#include <gtest/gtest.h>

#include <sstream>

namespace torva {
namespace {

// The board's side of the connection: poll, then acknowledge what it took.
std::string drain(IoSimulator& lib, int32_t h, int polls) {
    std::string got;
    for (int i = 0; i < polls; ++i) {
        const int32_t c = lib.InputSim(h, 0);
        if (c == 0) continue;
        got.push_back(char(c));
        lib.OutputSim(h, 0, 0);
    }
    return got;
}

TEST(SerialDeviceTest, BytesTowardsTheBoardArePaced) {
    IoSimulator lib;
    const int32_t h = lib.OpenSim(10, "sci0", 0);
    auto* serial = lib.device_as<SerialDevice>(h);
    serial->set_receive_gap(3);
    serial->type_text(std::string("ab\0c", 4));
    EXPECT_EQ(3u, serial->pending_input()); // the zero byte is dropped
    EXPECT_EQ('a', lib.InputSim(h, 0));
    EXPECT_EQ('a', lib.InputSim(h, 0)); // offered until taken
    lib.OutputSim(h, 0, 0);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(0, lib.InputSim(h, 0));
    EXPECT_EQ('b', lib.InputSim(h, 0));
    lib.OutputSim(h, 0, 0);
    EXPECT_EQ("c", drain(lib, h, 10));
    EXPECT_EQ(0, lib.InputSim(h, 0));
    lib.OutputSim(h, 0, 0); // an acknowledge with nothing waiting is harmless
    EXPECT_EQ(0u, serial->pending_input());
    EXPECT_EQ(0, lib.IsIosimPendingIrq(h));
}

TEST(SerialDeviceTest, BytesFromTheBoardQueueOrGoToAStream) {
    IoSimulator lib;
    const int32_t h = lib.OpenSim(10, "sci1", 0);
    auto* serial = lib.device_as<SerialDevice>(h);
    for (char c : std::string("Hi\n"))
        lib.OutputSim(h, c, 1);
    EXPECT_EQ("Hi\n", serial->output());
    EXPECT_EQ("Hi\n", serial->take_output());
    EXPECT_EQ("", serial->output());
    std::ostringstream out;
    serial->attach_output(&out);
    lib.OutputSim(h, 'x', 1);
    EXPECT_EQ("x", out.str());
    EXPECT_EQ("", serial->output());
}

TEST(SerialDeviceTest, InputStreamFeedsTheQueueUntilItsEnd) {
    IoSimulator lib;
    const int32_t h = lib.OpenSim(10, "sci0", 0);
    auto* serial = lib.device_as<SerialDevice>(h);
    serial->set_receive_gap(0);
    std::istringstream in(std::string("ok\0!", 4));
    serial->attach_input(&in);
    EXPECT_EQ("ok!", drain(lib, h, 10));
    serial->type_text("z"); // typing still works once the stream has ended
    EXPECT_EQ("z", drain(lib, h, 10));
}

// A linked terminal takes the stream over through the same queues; the link
// and every byte taken count as changes a window repaints on, an empty take
// does not.
TEST(SerialDeviceTest, LinkedTerminalTakesTheStreamOver) {
    IoSimulator lib;
    const int32_t h = lib.OpenSim(10, "sci0", 0);
    auto* serial = lib.device_as<SerialDevice>(h);
    serial->set_receive_gap(0);
    EXPECT_FALSE(serial->linked());
    uint64_t seen = serial->change_count();
    serial->set_linked(true);
    EXPECT_TRUE(serial->linked());
    EXPECT_NE(seen, serial->change_count());
    seen = serial->change_count();
    serial->set_linked(true);
    EXPECT_EQ(seen, serial->change_count());

    lib.OutputSim(h, 'A', 1);
    EXPECT_EQ("A", serial->take_output());
    seen = serial->change_count();
    EXPECT_EQ("", serial->take_output());
    EXPECT_EQ(seen, serial->change_count());
    serial->type_text("go");
    EXPECT_EQ("go", drain(lib, h, 10));
    serial->set_linked(false);
    EXPECT_FALSE(serial->linked());
}

} // namespace
} // namespace torva
