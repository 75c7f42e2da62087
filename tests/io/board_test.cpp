#include "io/board.h"

#include "io/board_option.h"
#include "io/descriptor_file.h"
#include "iosim/devices/flip_flop.h"
#include "iosim/devices/port_device.h"
#include "iosim/devices/serial_device.h"

#include <gtest/gtest.h>

namespace torva {
namespace {

struct BoardTest : ::testing::Test {
    Board board;
    CpuRegisters regs;

    uint8_t read(uint32_t address) {
        uint8_t byte = 0xEE;
        EXPECT_EQ(0, board.memory().mem_read_byte(address, byte)) << std::hex << address;
        return byte;
    }
    void write(uint32_t address, uint8_t byte) {
        EXPECT_EQ(0, board.memory().mem_write_byte(address, byte)) << std::hex << address;
    }
    // One instruction's worth of I/O service around no instruction at all.
    void step(uint32_t cycles = 3) {
        board.before_instruction();
        board.clock().add(cycles);
        board.after_instruction();
    }
    template <typename Model>
    Model* connect(int row, int32_t type = 0) {
        const int slot = board.setup().connect_row(row, type);
        EXPECT_GE(slot, 0);
        if (slot < 0) return nullptr;
        return board.iosim().device_as<Model>(
            board.setup().connection_slots()[size_t(slot)].handle);
    }
};

TEST_F(BoardTest, SerialOutputReachesTheConsoleAfterTheTransmitTime) {
    SerialDevice* console = connect<SerialDevice>(bus_row::kSerial0);
    ASSERT_NE(nullptr, console);
    board.reset_cpu(regs, false); // sets up serial interface 0
    write(0xCF, 'H');
    int steps = 0;
    while (console->output().empty() && steps < 50) {
        step();
        ++steps;
    }
    EXPECT_EQ("H", console->output());
    EXPECT_EQ(SerialInterface::kTransmitSteps + 2, steps);
    EXPECT_EQ(0xC0, read(0xCC) & 0xC0); // transmitter empty again
}

TEST_F(BoardTest, SerialInputIsPolledOncePerCharacterTime) {
    SerialDevice* console = connect<SerialDevice>(bus_row::kSerial0);
    ASSERT_NE(nullptr, console);
    board.reset_cpu(regs, false);
    console->set_receive_gap(0);
    console->type_text("OK");
    step(); // the first step polls
    EXPECT_EQ(SerialInterface::kReceiveFull, read(0xCC) & SerialInterface::kReceiveFull);
    EXPECT_EQ('O', read(0xCF));
    EXPECT_EQ(0, read(0xCC) & SerialInterface::kReceiveFull);
    EXPECT_EQ(1u, console->pending_input()); // the first was taken off the line
    // The next poll comes a character time after the first.
    for (uint32_t i = 1; i < Board::kPollSteps; ++i)
        step();
    EXPECT_EQ(0, read(0xCC) & SerialInterface::kReceiveFull);
    step();
    EXPECT_EQ('K', read(0xCF));
}

// A program busy elsewhere does not lose typed characters: the console waits
// until the data register has been read.
TEST_F(BoardTest, SerialInputWaitsWhileTheReceiverHoldsAnUnreadCharacter) {
    SerialDevice* console = connect<SerialDevice>(bus_row::kSerial0);
    ASSERT_NE(nullptr, console);
    board.reset_cpu(regs, false);
    console->type_text("abc");
    for (int i = 0; i < 1000; ++i)
        step();
    EXPECT_EQ(0, read(0xCC) & SerialInterface::kOverrun);
    EXPECT_EQ(2u, console->pending_input());
    std::string received;
    for (int i = 0; i < 1000 && received.size() < 3; ++i) {
        step();
        if (read(0xCC) & SerialInterface::kReceiveFull) received += char(read(0xCF));
    }
    EXPECT_EQ("abc", received);
}

TEST_F(BoardTest, ASerialConsoleTheUserClosedIsDisconnected) {
    SerialDevice* console = connect<SerialDevice>(bus_row::kSerial0);
    ASSERT_NE(nullptr, console);
    console->user_close();
    step();
    EXPECT_EQ(row_value::kFree, board.setup().row_value(bus_row::kSerial0));
    EXPECT_FALSE(board.modules().serial[0].present());
    EXPECT_EQ(-1, board.setup().serial_handle(0));
    EXPECT_TRUE(board.iosim().handles().empty());
}

TEST_F(BoardTest, DeviceInterruptRequests) {
    FlipFlop* flip_flop = connect<FlipFlop>(bus_row::kFlipFlop);
    ASSERT_NE(nullptr, flip_flop);
    EXPECT_FALSE(board.device_interrupt_pending());
    flip_flop->press_button();
    EXPECT_TRUE(board.device_interrupt_pending());
    EXPECT_EQ(0x01, read(0xDC0)); // reading clears it
    EXPECT_FALSE(board.device_interrupt_pending());
    flip_flop->press_button();
    flip_flop->user_close(); // a closed device requests nothing
    EXPECT_FALSE(board.device_interrupt_pending());
}

TEST_F(BoardTest, BarePortsPassTheirPinsToTheirDevices) {
    board.setup().set_option_word(board_option::kBareBoard);
    PortDevice* port_a = connect<PortDevice>(bare_row::kPortA, 11); // LEDs and switches
    PortDevice* port_b = connect<PortDevice>(bare_row::kPortB, 2);  // switches only
    ASSERT_TRUE(port_a && port_b);
    port_a->set_switches(0xA5);
    port_b->set_switches(0x3C);

    write(0x02, 0x0F); // port A: low half output
    write(0x00, 0xF3);
    EXPECT_EQ(0x03, port_a->outputs()); // the pins the port drives
    EXPECT_EQ(0xA3, read(0x00));        // inputs from the switches
    EXPECT_EQ(0x3C, read(0x01));        // port B all inputs
    write(0x02, 0xFF);                  // all outputs now: the LEDs follow
    EXPECT_EQ(0x03, port_a->outputs());
    EXPECT_EQ(0x03, read(0x00));

    // Without a device the input pins read 1.
    board.setup().disconnect_row(bare_row::kPortB);
    EXPECT_EQ(0xFF, read(0x01));
}

// A log of what a program drove shows every bus write, with or without a
// device at the address; storage and on-chip registers stay out of it.
TEST_F(BoardTest, WritesToTheBusCanBeObserved) {
    std::vector<std::pair<uint32_t, uint8_t>> seen;
    board.routing().set_device_write_observer(
        [&](uint32_t address, uint8_t byte) { seen.emplace_back(address, byte); });
    connect<PortDevice>(bus_row::kOutport, 1);
    write(0x400, 0x81);
    write(0x401, 0x82);  // bus window, but no device covers it
    write(0x1000, 0x83); // RAM
    write(0x00CF, 0x84); // serial data register
    board.setup().disconnect_row(bus_row::kOutport);
    write(0x400, 0x85); // the outport's address without the outport
    EXPECT_EQ(
        (std::vector<std::pair<uint32_t, uint8_t>>{{0x400, 0x81}, {0x401, 0x82}, {0x400, 0x85}}),
        seen);
}

TEST_F(BoardTest, DevicesAreFoundByTheirBaseAddress) {
    PortDevice* inport = connect<PortDevice>(bus_row::kInport, 2);
    connect<PortDevice>(bus_row::kOutport, 1);
    EXPECT_EQ(inport, board.device_at(0x600));
    ASSERT_NE(nullptr, board.device_at(0x400));
    EXPECT_EQ(DeviceType::kOutport, board.device_at(0x400)->type());
    EXPECT_EQ(nullptr, board.device_at(0xC00));
    inport->set_switches(0x42);
    EXPECT_EQ(0x42, read(0x600));
}

TEST_F(BoardTest, TwoBoardsLiveSideBySide) {
    Board other;
    connect<PortDevice>(bus_row::kOutport, 1);
    other.setup().set_option_word(board_option::kBareBoard);
    write(0x11, 0x08);
    EXPECT_EQ(0x0800, board.routing().register_base());
    EXPECT_EQ(0, other.routing().register_base());
    EXPECT_TRUE(other.iosim().handles().empty());
    EXPECT_FALSE(other.routing().claims(0x400));
    EXPECT_TRUE(board.routing().claims(0x400));
}

} // namespace
} // namespace torva
