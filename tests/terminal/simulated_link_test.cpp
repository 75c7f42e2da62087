// The link to the simulated board's serial console: typed bytes reach the
// program's receiver without an overrun, its output reaches the reader, and
// the link follows a console that replaces the first one.
#include "terminal/simulated_link.h"

#include "io/board.h"
#include "io/serial_console.h"
#include "iosim/devices/serial_device.h"
#include "terminal/port_configuration.h"

#include <gtest/gtest.h>

#include <thread>

namespace torva {
namespace {

struct SimulatedLinkTest : ::testing::Test {
    Board board;
    CpuRegisters regs;

    uint8_t read(uint32_t address) {
        uint8_t byte = 0;
        board.memory().mem_read_byte(address, byte);
        return byte;
    }
    void steps(int count) {
        for (int i = 0; i < count; ++i) {
            board.before_instruction();
            board.clock().add(3);
            board.after_instruction();
        }
    }
    std::string read_all(SerialLink& link) {
        uint8_t buffer[512];
        const size_t n = link.read(buffer);
        return std::string(buffer, buffer + n);
    }
};

TEST_F(SimulatedLinkTest, BytesTravelBothWaysAndWaitForTheReceiver) {
    auto link = SimulatedLink::open(board, 0); // connects a console
    ASSERT_NE(nullptr, link);
    SerialDevice* console = serial_console(board, 0);
    ASSERT_NE(nullptr, console);
    EXPECT_TRUE(console->linked());
    SerialSettings settings;
    ASSERT_TRUE(configure_port(*link, settings).ok);
    board.reset_cpu(regs, false);

    link->write("abc");
    std::string received;
    for (int i = 0; i < 20 && received.size() < 3; ++i) {
        steps(400); // a slow reader: the receiver is full long before
        if (read(0xCC) & SerialInterface::kReceiveFull) received += char(read(0xCF));
    }
    EXPECT_EQ("abc", received);
    EXPECT_EQ(0, read(0xCC) & SerialInterface::kOverrun);

    board.memory().mem_write_byte(0xCF, 'Z');
    steps(20);
    EXPECT_EQ("Z", read_all(*link));
    EXPECT_EQ("", console->output()); // the terminal took it

    // A writer thread's bytes wait until the owner reads.
    std::thread([&] { link->write("w"); }).join();
    EXPECT_EQ(0u, console->pending_input());
    read_all(*link);
    EXPECT_EQ(1u, console->pending_input());

    link.reset();
    EXPECT_FALSE(console->linked());
}

TEST_F(SimulatedLinkTest, ConsoleConnectedAfterTheResetReachesARunningProgram) {
    board.reset_cpu(regs, false); // nothing on interface 0 yet
    auto link = SimulatedLink::open(board, 0);
    ASSERT_NE(nullptr, link);
    board.memory().mem_write_byte(0xCF, 'M');
    steps(20);
    EXPECT_EQ("M", read_all(*link));
}

TEST_F(SimulatedLinkTest, FollowsTheConsoleThatReplacesTheFirst) {
    auto link = SimulatedLink::open(board, 1);
    ASSERT_NE(nullptr, link);
    board.setup().disconnect_row(bus_row::kSerial1);
    EXPECT_FALSE(link->console_present());
    link->write("q"); // waits while there is no console
    EXPECT_EQ("", read_all(*link));
    SerialDevice* second = connect_serial_console(board, 1);
    ASSERT_NE(nullptr, second);
    EXPECT_FALSE(second->linked());
    read_all(*link);
    EXPECT_TRUE(second->linked());
    EXPECT_EQ(1u, second->pending_input());
}

} // namespace
} // namespace torva
