// The serial console and the on-chip serial interface wired together the way
// the run loop joins them: poll the console before each instruction, pass
// the transmitter's character to it after.
#include "cpu/onchip/serial_interface.h"
#include "iosim/devices/serial_device.h"
#include "iosim/io_simulator.h"

#include <gtest/gtest.h>

namespace torva {
namespace {

using Sci = SerialInterface;

struct SerialLinkTest : ::testing::Test {
    IoSimulator lib;
    Sci sci{0xFFD6};
    int32_t handle = lib.OpenSim(10, "sci0", 0);
    SerialDevice& console = *lib.device_as<SerialDevice>(handle);

    void SetUp() override {
        sci.attach();
        sci.write(Sci::kBaudHigh, 0x00);
        sci.write(Sci::kBaudLow, 0x01);
        sci.write(Sci::kControl2, Sci::kTransmitterEnable | Sci::kReceiverEnable);
    }

    // One instruction's worth of the connection; the instruction itself is
    // the callback.
    template <typename Instruction>
    void step(Instruction instruction) {
        if (lib.QuerySim(handle)) {
            if (lib.InputSim(handle, SerialDevice::kReceiveReady) == 1) {
                sci.receive(uint8_t(lib.InputSim(handle, SerialDevice::kReceive)));
                lib.OutputSim(handle, 0, SerialDevice::kReceive);
            }
        }
        instruction();
        if (auto sent = sci.transmit_progress()) lib.OutputSim(handle, *sent, 1);
    }
};

TEST_F(SerialLinkTest, PollingEchoLosesNothingAtTypingSpeed) {
    console.type_text("hello, board");
    // A polling echo: wait for a byte, wait until the transmitter is free,
    // send it back. Each register access stands for one instruction.
    int waiting = -1;
    for (int i = 0; i < 5000; ++i) {
        step([&] {
            if (waiting < 0) {
                if (sci.read(Sci::kStatus1) & Sci::kReceiveFull) waiting = sci.read(Sci::kDataLow);
            } else if (sci.read(Sci::kStatus1) & Sci::kTransmitEmpty) {
                sci.write(Sci::kDataLow, uint8_t(waiting));
                waiting = -1;
            }
            EXPECT_FALSE(sci.status1() & Sci::kOverrun);
        });
    }
    EXPECT_EQ("hello, board", console.output());
}

TEST_F(SerialLinkTest, ProgramThatDoesNotReadOverruns) {
    console.type_text("ab");
    for (int i = 0; i < 300; ++i)
        step([] {});
    EXPECT_EQ(Sci::kReceiveFull | Sci::kOverrun, sci.status1() & 0x28);
    EXPECT_EQ('b', sci.read(Sci::kDataLow));
    EXPECT_EQ(0u, console.pending_input());
}

TEST_F(SerialLinkTest, UserClosingTheConsoleDropsIt) {
    console.user_close();
    console.type_text("x");
    step([] {});
    EXPECT_FALSE(sci.status1() & Sci::kReceiveFull);
    EXPECT_EQ(1u, console.pending_input());
}

} // namespace
} // namespace torva
