#include "io/board_routing.h"

#include "io/board_option.h"
#include "io/memory_map.h"
#include "io/recording_library.h"

#include <gtest/gtest.h>

namespace torva {
namespace {

using test::RecordingLibrary;
using Write = RecordingLibrary::Write;

struct RoutingTest : ::testing::Test {
    RecordingLibrary library;
    MemoryMap memory;
    OnChipModules modules{memory};
    DeviceSetup setup{library, modules.serial};
    BoardRouting routing{modules, setup};

    RoutingTest() { memory.attach_io(&routing); }

    // Connects a row (port rows with the given type) and gives its handle.
    int32_t connect(int row, int32_t type = 0) {
        const int slot = setup.connect_row(row, type);
        EXPECT_GE(slot, 0) << "row " << row;
        return slot < 0 ? -1 : setup.connection_slots()[size_t(slot)].handle;
    }
    uint8_t read(uint32_t address) {
        uint8_t byte = 0xEE;
        EXPECT_EQ(0, memory.mem_read_byte(address, byte)) << std::hex << address;
        return byte;
    }
    void write(uint32_t address, uint8_t byte) {
        EXPECT_EQ(0, memory.mem_write_byte(address, byte)) << std::hex << address;
    }
};

// The fixed addresses of the bus board: which row's device each read and
// write reaches, at which register offset; row -1 for none.
struct FixedCase {
    int line;
    uint32_t address;
    int read_row;
    int read_offset;
    int write_row;
    int write_offset;
};
constexpr FixedCase kBusAddresses[] = {
    {__LINE__, 0x400, -1, 0, bus_row::kOutport, 0},
    {__LINE__, 0x600, bus_row::kInport, 0, -1, 0}, // no drill: the inport answers
    {__LINE__, 0x800, -1, 0, bus_row::kPrinter, 0},
    {__LINE__, 0x801, bus_row::kPrinter, 0, -1, 0},
    {__LINE__, 0x802, -1, 0, bus_row::kPrinter, 2},
    {__LINE__, 0x803, -1, 0, -1, 0},
    {__LINE__, 0x9C0, bus_row::kKeyboard9C0, 0, -1, 0},
    {__LINE__, 0x9C1, -1, 0, bus_row::kKeyboard9C0, 0},
    {__LINE__, 0x9C2, -1, 0, bus_row::kDisplay9C2, 0},
    {__LINE__, 0x9C3, -1, 0, bus_row::kDisplay9C2, 1},
    {__LINE__, 0xB00, bus_row::kDoor, 0, bus_row::kDoor, 0},
    {__LINE__, 0xC00, -1, 0, bus_row::kKeyboardC00, 0},
    {__LINE__, 0xC01, bus_row::kKeyboardC00, 1, -1, 0},
    {__LINE__, 0xC02, -1, 0, bus_row::kDisplayC02, 0},
    {__LINE__, 0xC03, -1, 0, bus_row::kDisplayC02, 1},
    {__LINE__, 0xDC0, bus_row::kFlipFlop, 0, -1, 0},
};

TEST_F(RoutingTest, BusBoardFixedAddressesReachTheirRows) {
    // Without devices every address reads $FF and calls nobody.
    for (const FixedCase& c : kBusAddresses) {
        SCOPED_TRACE(c.line);
        write(c.address, 0x5A);
        EXPECT_EQ(0xFF, read(c.address));
    }
    EXPECT_TRUE(library.writes.empty());
    EXPECT_TRUE(library.inputs.empty());

    connect(bus_row::kOutport, 1);
    connect(bus_row::kInport, 2);
    for (int row = bus_row::kKeyboardC00; row < bus_row::kCount; ++row)
        connect(row);
    for (const FixedCase& c : kBusAddresses) {
        SCOPED_TRACE(c.line);
        ASSERT_TRUE(routing.claims(c.address));
        library.writes.clear();
        write(c.address, 0x5A);
        if (c.write_row < 0) {
            EXPECT_TRUE(library.writes.empty());
        } else {
            const Write expected{setup.row_value(c.write_row), 0x5A, c.write_offset};
            EXPECT_EQ((std::vector<Write>{expected}), library.writes);
        }
        const uint8_t answer =
            c.read_row < 0 ? 0xFF
                           : RecordingLibrary::answer(setup.row_value(c.read_row), c.read_offset);
        EXPECT_EQ(answer, read(c.address));
    }
}

TEST_F(RoutingTest, TheDrillTakesTheOutportWritesAndAnswersAt600) {
    const int32_t drill = connect(bus_row::kDrill);
    write(0x400, 0x03);
    EXPECT_EQ((std::vector<Write>{Write{drill, 0x03, 0}}), library.writes);
    EXPECT_EQ(RecordingLibrary::answer(drill, 1), read(0x600));
    EXPECT_EQ(0xFF, read(0x400));
    // Once the user closes it, nothing answers there.
    library.user_close(drill);
    EXPECT_EQ(0xFF, read(0x600));
}

TEST_F(RoutingTest, WithTheMonitorOptionTheWindowServesTheFixedAddresses) {
    setup.set_option_word(board_option::kLoadMonitor);
    const int32_t keyboard = connect(bus_row::kKeyboardC00);
    EXPECT_EQ(RecordingLibrary::answer(keyboard, 1), read(0xC01));
    write(0xC01, 0x77); // ignored with option word 0, a range write here
    EXPECT_EQ((std::vector<Write>{Write{keyboard, 0x77, 1}}), library.writes);
    EXPECT_EQ(0, read(0xC02)); // no device covers it
    EXPECT_EQ(0, read(0x600));
}

TEST_F(RoutingTest, BareBoardHasNoBus) {
    setup.set_option_word(board_option::kBareBoard);
    for (uint32_t address : {0x400u, 0x600u, 0xC01u, 0xFFFu}) {
        SCOPED_TRACE(address);
        EXPECT_FALSE(routing.claims(address));
        uint8_t byte = 0xEE;
        EXPECT_EQ(1, memory.mem_read_byte(address, byte)); // neither RAM nor flash
        EXPECT_EQ(0xEE, byte);
    }
    EXPECT_TRUE(routing.claims(0x3FF));
    EXPECT_TRUE(library.inputs.empty());
}

TEST_F(RoutingTest, WindowBoundsOfTheBusBoard) {
    EXPECT_FALSE(routing.claims(0x1000)); // RAM
    EXPECT_TRUE(routing.claims(0xFFF));
    EXPECT_TRUE(routing.claims(0x400));
    EXPECT_FALSE(routing.claims(0x10400)); // a paged address is never I/O
    EXPECT_EQ(0, read(0xABC));
    EXPECT_FALSE(memory.writable(0xABC));
}

TEST_F(RoutingTest, RegisterBlockOffsetsOutsideTheModules) {
    struct Case {
        int line;
        uint16_t offset;
        uint8_t value;
    };
    const Case cases[] = {
        {__LINE__, 0x105, 0xC0},                          // flash controller ready
        {__LINE__, 0x104, 0xFF}, {__LINE__, 0x13F, 0xFF}, // just below the first toggle range
        {__LINE__, 0x180, 0xFF},                          // just above it
        {__LINE__, 0x27F, 0xFF}, {__LINE__, 0x2C0, 0xFF},
        {__LINE__, 0x3FF, 0xFF}, {__LINE__, 0x0C0, 0xFF}, // between the modules
    };
    CpuRegisters regs;
    memory.reset_cpu(regs, false);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        write(c.offset, 0x00); // writes outside the modules change nothing
        EXPECT_EQ(c.value, read(c.offset));
    }
}

TEST_F(RoutingTest, ToggleRangesAlternateOnEveryRead) {
    EXPECT_EQ(0xFF, read(0x140));
    EXPECT_EQ(0x00, read(0x140));
    EXPECT_EQ(0xFF, read(0x140));
    // One toggle byte serves both ranges.
    EXPECT_EQ(0x00, read(0x2BF));
    EXPECT_EQ(0xFF, read(0x17F));
    EXPECT_EQ(0x00, read(0x280));
}

TEST_F(RoutingTest, RegisterBlockMovesWithItsMappingRegister) {
    setup.set_option_word(board_option::kBareBoard); // no bus window in the way
    write(0x11, 0x2F);                               // keeps $28: block at $2800
    EXPECT_EQ(0x2800, routing.register_base());
    EXPECT_FALSE(routing.claims(0x105));
    EXPECT_FALSE(routing.claims(0x11));
    EXPECT_TRUE(routing.claims(0x2800));
    EXPECT_TRUE(routing.claims(0x2BFF));
    EXPECT_FALSE(routing.claims(0x2C00)); // RAM again
    EXPECT_EQ(0xC0, read(0x2905));
    EXPECT_EQ(0x28, read(0x2811));
    EXPECT_EQ(0xFF, read(0x2940));
    // RAM under the block is hidden, the rest of RAM is not.
    EXPECT_FALSE(memory.writable(0x2A00));
    EXPECT_TRUE(memory.writable(0x2C00));
    write(0x2811, 0x00);
    EXPECT_EQ(0, routing.register_base());
    EXPECT_EQ(0xC0, read(0x105));
}

TEST_F(RoutingTest, FixedBusAddressesWinOverAMovedRegisterBlock) {
    write(0x11, 0x08); // block at $0800, on top of the printer's addresses
    const int32_t printer = connect(bus_row::kPrinter);
    write(0x800, 0x41);
    EXPECT_EQ((std::vector<Write>{Write{printer, 0x41, 0}}), library.writes);
    EXPECT_EQ(0x08, read(0x811)); // the rest of the block answers
}

TEST_F(RoutingTest, ExternalWindowTakesTheFirstSlotThatCoversTheAddress) {
    setup.set_option_word(board_option::kLoadMonitor);
    // Two devices over $A00 (types 1 and 11 have one register), one at $A01.
    ASSERT_EQ(0, setup.open_device(-1, 1, 0xA00, 0, ""));
    ASSERT_EQ(1, setup.open_device(-1, 11, 0xA00, 0, ""));
    ASSERT_EQ(2, setup.open_device(-1, 5, 0xA01, 0, "")); // printer: $A01-$A04
    const int32_t first = setup.connection_slots()[0].handle;
    const int32_t second = setup.connection_slots()[1].handle;
    const int32_t printer = setup.connection_slots()[2].handle;

    write(0xA00, 0x11);
    write(0xA04, 0x22);
    EXPECT_EQ((std::vector<Write>{{first, 0x11, 0}, {printer, 0x22, 3}}), library.writes);
    EXPECT_EQ(RecordingLibrary::answer(first, 0), read(0xA00));
    EXPECT_EQ(0, read(0xA05)); // beyond the printer's four registers

    // A device the user closed gives up its slot on the next access, which
    // has no effect; the next device over the address takes over.
    library.user_close(first);
    library.writes.clear();
    EXPECT_EQ(0, read(0xA00));
    EXPECT_FALSE(setup.connection_slots()[0].used());
    EXPECT_EQ(0u + 2, library.open_count());
    write(0xA00, 0x33);
    EXPECT_EQ((std::vector<Write>{Write{second, 0x33, 0}}), library.writes);

    library.user_close(second);
    library.writes.clear();
    write(0xA00, 0x44); // frees the slot, reaches nobody
    EXPECT_TRUE(library.writes.empty());
    EXPECT_FALSE(setup.connection_slots()[1].used());
    EXPECT_EQ(0, read(0xA00));
}

TEST_F(RoutingTest, ClosingAWindowDeviceFreesItsRow) {
    setup.set_option_word(board_option::kLoadMonitor);
    const int32_t door = connect(bus_row::kDoor);
    library.user_close(door);
    EXPECT_EQ(0, read(0xB00));
    EXPECT_EQ(row_value::kFree, setup.row_value(bus_row::kDoor));
}

TEST_F(RoutingTest, BreakOnIoSuppressesTheAccess) {
    const int32_t door = connect(bus_row::kDoor);
    std::vector<uint32_t> asked;
    bool halt = true;
    routing.set_break_check([&](uint32_t address) {
        asked.push_back(address);
        return halt;
    });
    uint8_t byte = 0x12;
    EXPECT_EQ(0, memory.mem_read_byte(0xB00, byte));
    EXPECT_EQ(BoardRouting::kSuppressedRead, byte);
    EXPECT_EQ(0, memory.mem_write_byte(0xB00, 0x01));
    EXPECT_EQ(0, memory.mem_read_byte(0x140, byte)); // the toggle does not move
    EXPECT_EQ(0, memory.mem_write_byte(0x11, 0x08)); // the block does not move
    EXPECT_TRUE(library.inputs.empty());
    EXPECT_TRUE(library.writes.empty());
    EXPECT_EQ(0, routing.register_base());
    // Storage accesses do not ask.
    memory.mem_write_byte(0x1000, 1);
    memory.mem_read_byte(0x1000, byte);
    EXPECT_EQ((std::vector<uint32_t>{0xB00, 0xB00, 0x140, 0x11}), asked);

    halt = false;
    EXPECT_EQ(0xFF, read(0x140)); // the first real read of the toggle
    write(0xB00, 0x01);
    EXPECT_EQ((std::vector<Write>{Write{door, 0x01, 0}}), library.writes);
}

// Reset brings a moved register block home and sets up interface 0 for
// the console there.
TEST_F(RoutingTest, ResetSetsUpSerialInterfaceZero) {
    connect(bus_row::kSerial0);
    connect(bus_row::kSerial1);
    write(0xCB, 0x00);
    write(0x3B, 0x10); // real-time interrupt running
    write(0x11, 0x10); // block at $1000
    ASSERT_EQ(0x1000, routing.register_base());
    CpuRegisters regs;
    memory.reset_cpu(regs, false);
    EXPECT_EQ(0, routing.register_base());
    const SerialInterface& sci0 = modules.serial[0];
    EXPECT_EQ(SerialInterface::BaudState::kSet, sci0.baud_state());
    EXPECT_EQ(0x0C, read(0xCB)); // transmitter and receiver on
    EXPECT_EQ(0x01, read(0xC9));
    EXPECT_EQ(0xC0, sci0.status1());
    EXPECT_EQ(SerialInterface::BaudState::kNone, modules.serial[1].baud_state());
    EXPECT_FALSE(modules.clock.rti_running());
    EXPECT_EQ(0x08, read(0x37));
}

TEST_F(RoutingTest, ResetWithoutASerialDeviceLeavesTheInterfaceIdle) {
    CpuRegisters regs;
    memory.reset_cpu(regs, false);
    EXPECT_EQ(SerialInterface::BaudState::kNone, modules.serial[0].baud_state());
    EXPECT_EQ(0, read(0xCB)); // an interface without a device reads 0
}

TEST_F(RoutingTest, OnChipInterruptVectorsInPriorityOrder) {
    connect(bus_row::kSerial0);
    connect(bus_row::kSerial1);
    CpuRegisters regs;
    memory.reset_cpu(regs, false);
    EXPECT_FALSE(routing.interrupt_vector(0));
    write(0xD0, 0x00); // second interface: baud set, transmitter on, its interrupt on
    write(0xD1, 0x01);
    write(0xD3, 0x88);
    EXPECT_EQ(0xFFD4, routing.interrupt_vector(0));
    write(0xCB, 0x8C); // the first interface comes before it
    EXPECT_EQ(0xFFD6, routing.interrupt_vector(0));
    write(0x38, 0x80); // real-time interrupt enabled, period 2048 cycles
    write(0x3B, 0x10);
    EXPECT_EQ(0xFFD6, routing.interrupt_vector(100));
    EXPECT_EQ(0xFFF0, routing.interrupt_vector(5000)); // the clock module comes first
}

} // namespace
} // namespace torva
