// The link to the simulated board's serial console: typed bytes reach the
// program's receiver without an overrun, its output reaches the reader, the
// link follows a console that replaces the first one, and every byte value
// makes the round trip through a running program.
#include "io/simulated_link.h"

#include "io/board.h"
#include "io/serial_console.h"
#include "iosim/devices/serial_device.h"
#include "terminal/port_configuration.h"

#include "sim/simulator.h"
#include "support/echo_programs.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

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

// "RT12 Simulator SCI0" to a program that echoes 256 bytes: every byte
// value comes back, in order, $00 and the flow-control characters included.
TEST(SimulatedPortTest, EveryByteValueComesBackFromAnEchoProgram) {
    Board board;
    Cpu cpu(board.memory());
    SimulatorUi ui;
    Simulator sim(board, cpu, ui, ".");
    sim.window_created();
    auto link = SimulatedLink::open(board, 0);
    ASSERT_NE(nullptr, link);
    sim.reset_simulator(true); // sets serial interface 0 up
    // test::kEcho256, as ta12 and GNU as assemble it.
    const std::vector<uint8_t> program = {
        0xCE, 0x01, 0x00,             // ldx #256
        0x1F, 0x00, 0xCC, 0x20, 0xFB, // wait brclr $cc,#$20,wait
        0xF6, 0x00, 0xCF,             // ldab $cf
        0x1F, 0x00, 0xCC, 0x80, 0xFB, // tx brclr $cc,#$80,tx
        0x7B, 0x00, 0xCF,             // stab $cf
        0x04, 0x35, 0xED,             // dbne x,wait
        0x1F, 0x00, 0xCC, 0x40, 0xFB, // done brclr $cc,#$40,done
        0x3F,                         // swi
    };
    for (size_t i = 0; i < program.size(); ++i)
        board.memory().mem_write_byte(uint32_t(0x1000 + i), program[i]);
    cpu.regs.pc = 0x1000;

    link->write(test::every_byte_value());
    std::string back;
    const std::vector<uint8_t> swi = {0x3F};
    for (int slice = 0; slice < 100 && back.size() < 256; ++slice) {
        sim.run_headless(10'000, swi);
        uint8_t buffer[512];
        back.append(reinterpret_cast<const char*>(buffer), link->read(buffer));
    }
    EXPECT_EQ(test::every_byte_value(), back);
    EXPECT_EQ(0x101Bu, cpu.regs.pc); // at the SWI: the program saw its 256 bytes
}

} // namespace
} // namespace torva
