#include "io/board.h"
#include "io/board_option.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace torva {
namespace {

struct DeviceSetupTest : ::testing::Test {
    std::vector<std::string> messages;
    Board board{[this](const std::string& text) { messages.push_back(text); }};
    DeviceSetup& setup = board.setup();

    // One letter per row of the selected board: Y connected, N free, A "NA".
    std::string rows() const {
        std::string text;
        for (int row = 0; row < setup.row_count(); ++row) {
            const int32_t value = setup.row_value(row);
            text += value >= 0 ? 'Y' : value == row_value::kFree ? 'N' : 'A';
        }
        return text;
    }
    // Runs "c0 d2 ..." (connect or disconnect a row); port rows get the
    // first type their kind offers. False when a connect fails.
    bool run(const std::string& actions) {
        std::istringstream words(actions);
        bool all_connected = true;
        for (std::string word; words >> word;) {
            const int row = std::stoi(word.substr(1));
            if (word[0] == 'd') {
                setup.disconnect_row(row);
                continue;
            }
            const auto kind = device_rows(setup.board())[size_t(row)].port_kind;
            const int32_t type = kind == PortKind::kNone ? 0 : port_types(kind)[0];
            all_connected = setup.connect_row(row, type) >= 0 && all_connected;
        }
        return all_connected;
    }
    int open_devices() { return int(board.iosim().handles().size()); }
};

TEST_F(DeviceSetupTest, RowsFollowTheBoardsRules) {
    struct Case {
        int line;
        uint32_t option_word;
        const char* actions;
        bool all_connect;
        const char* rows; // the board's rows afterwards
        int open;         // devices left open
    };
    const Case cases[] = {
        {__LINE__, 0, "c0", true, "YNANNNNNNNNN", 1},       // outport makes the drill "NA"
        {__LINE__, 0, "c1", true, "NYANNNNNNNNN", 1},       // so does the inport
        {__LINE__, 0, "c0 c1 d0", true, "NYANNNNNNNNN", 1}, // drill stays out while one port is in
        {__LINE__, 0, "c0 c1 d0 d1", true, "NNNNNNNNNNNN", 0}, // both gone: drill free again
        {__LINE__, 0, "c2", true, "YYYNNNNNNNNN", 1},          // the drill takes both port places
        {__LINE__, 0, "c2 d2", true, "NNNNNNNNNNNN", 0},
        {__LINE__, 0, "c2 d0", true, "NNNNNNNNNNNN", 0}, // any of its rows frees all three
        {__LINE__, 0, "c2 d1", true, "NNNNNNNNNNNN", 0},
        {__LINE__, 0, "c0 c2", false, "YNANNNNNNNNN", 1}, // drill refused while a port is in
        {__LINE__, 0, "c2 c0", false, "YYYNNNNNNNNN", 1}, // port refused while the drill is in
        {__LINE__, 0, "c3 c4 c5 c6 c7 c8 c9 c10 c11", true, "NNNYYYYYYYYY", 9},
        {__LINE__, 0, "c3 c3", false, "NNNYNNNNNNNN", 1}, // a connected row takes no second device
        {__LINE__, 0, "c3 d3", true, "NNNNNNNNNNNN", 0},  // other rows are freed and closed
        {__LINE__, 0, "c11 d11 c11", true, "NNNNNNNNNNNY", 1},
        {__LINE__, 0, "d4 d2", true, "NNNNNNNNNNNN", 0}, // disconnecting free rows does nothing
        {__LINE__, 0, "c0 d2", true, "YNANNNNNNNNN", 1}, // nor does disconnecting "NA"
        // The bare board's rows are freed and closed on disconnect.
        {__LINE__, board_option::kBareBoard, "c0 c1 c2 c3", true, "YYYY", 4},
        {__LINE__, board_option::kBareBoard, "c0 c1 c2 c3 d0 d1 d2 d3", true, "NNNN", 0},
        {__LINE__, board_option::kBareBoard, "c2 d2 c2", true, "NNYN", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        setup.close_all();
        setup.set_option_word(c.option_word);
        EXPECT_EQ(c.all_connect, run(c.actions));
        EXPECT_EQ(c.rows, rows());
        EXPECT_EQ(c.open, open_devices());
    }
}

TEST_F(DeviceSetupTest, DrillHandleSitsInAllThreeRows) {
    const int slot = setup.connect_row(bus_row::kDrill);
    ASSERT_GE(slot, 0);
    const ConnectionSlot& drill = setup.connection_slots()[size_t(slot)];
    EXPECT_EQ(9, drill.type);
    EXPECT_EQ("$400/$600", drill.name);
    EXPECT_EQ(0x400u, drill.base);
    for (int row : {bus_row::kOutport, bus_row::kInport, bus_row::kDrill})
        EXPECT_EQ(drill.handle, setup.row_value(row)) << row;
}

TEST_F(DeviceSetupTest, SerialRowsAttachAndDetachTheirInterface) {
    struct Case {
        int line;
        uint32_t option_word;
        int row;
        int interface;
    };
    const Case cases[] = {
        {__LINE__, 0, bus_row::kSerial0, 0},
        {__LINE__, 0, bus_row::kSerial1, 1},
        {__LINE__, board_option::kBareBoard, bare_row::kSerial0, 0},
        {__LINE__, board_option::kBareBoard, bare_row::kSerial1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        setup.close_all();
        setup.set_option_word(c.option_word);
        const int slot = setup.connect_row(c.row);
        ASSERT_GE(slot, 0);
        const int32_t handle = setup.connection_slots()[size_t(slot)].handle;
        EXPECT_TRUE(board.modules().serial[size_t(c.interface)].present());
        EXPECT_FALSE(board.modules().serial[size_t(1 - c.interface)].present());
        EXPECT_EQ(handle, setup.serial_handle(c.interface));
        setup.disconnect_row(c.row);
        EXPECT_FALSE(board.modules().serial[size_t(c.interface)].present());
        EXPECT_EQ(-1, setup.serial_handle(c.interface));
        EXPECT_EQ(-1, setup.slot_of_handle(handle));
    }
}

TEST_F(DeviceSetupTest, OneSerialInterfaceTakesOneDeviceAcrossBothBoards) {
    ASSERT_GE(setup.connect_row(bus_row::kSerial0), 0);
    setup.set_option_word(board_option::kBareBoard);
    EXPECT_FALSE(setup.can_bind(bare_row::kSerial0));
    EXPECT_TRUE(setup.can_bind(bare_row::kSerial1));
}

TEST_F(DeviceSetupTest, ConnectGivesTheOptionAndTheAddressText) {
    struct Case {
        int line;
        int row;
        int32_t type;
        const char* address_text; // as the device library got it
        int32_t option;
    };
    const Case cases[] = {
        {__LINE__, bus_row::kKeyboardC00, 6, "$C00", 2},
        {__LINE__, bus_row::kSerial1, 10, "sci1", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        const int slot = setup.connect_row(c.row);
        ASSERT_GE(slot, 0);
        const ConnectionSlot& connected = setup.connection_slots()[size_t(slot)];
        EXPECT_EQ(c.type, connected.type);
        EXPECT_EQ(c.row, connected.row);
        EXPECT_TRUE(connected.is_new);
        Device* device = board.iosim().device(connected.handle);
        ASSERT_NE(nullptr, device);
        EXPECT_EQ(c.address_text, device->address_text());
        EXPECT_EQ(c.option, device->option());
    }
}

TEST_F(DeviceSetupTest, PortRowsOpenOnlyTheTypesTheirKindOffers) {
    EXPECT_EQ(-1, setup.connect_row(bus_row::kOutport, 2)); // an inport cannot be the outport
    EXPECT_EQ(-1, setup.connect_row(bus_row::kInport, 1));
    EXPECT_EQ(0, open_devices());
    const int slot = setup.connect_row(bus_row::kInport, 11);
    ASSERT_GE(slot, 0);
    EXPECT_EQ(0x600u, setup.connection_slots()[size_t(slot)].base);
    EXPECT_EQ("$600",
              board.iosim().device(setup.connection_slots()[size_t(slot)].handle)->address_text());
    // Both bare ports open their device at $400.
    setup.set_option_word(board_option::kBareBoard);
    const int port_b = setup.connect_row(bare_row::kPortB, 12);
    ASSERT_GE(port_b, 0);
    EXPECT_EQ(0x400u, setup.connection_slots()[size_t(port_b)].base);
}

TEST_F(DeviceSetupTest, TwentyFirstDeviceIsRefusedWithItsMessage) {
    for (int i = 0; i < DeviceSetup::kSlotCount; ++i)
        ASSERT_EQ(i, setup.open_device(-1, 1, 0x400 + uint32_t(i), 0, ""));
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(-1, setup.open_device(-1, 1, 0x500, 0, ""));
    EXPECT_EQ(-1, setup.connect_row(bus_row::kDoor));
    ASSERT_EQ(2u, messages.size());
    EXPECT_EQ("You already have max (20) devices connected, disconnect one and try again",
              messages[0]);
    EXPECT_EQ(DeviceSetup::kSlotCount, open_devices());
    EXPECT_EQ("NNNNNNNNNNNN", rows()); // the refused connect leaves its row free
    // Freeing one slot makes room again, in that slot.
    setup.release_slot(7);
    EXPECT_EQ(7, setup.open_device(-1, 1, 0x500, 0, ""));
}

TEST_F(DeviceSetupTest, RefusedDeviceLeavesTheRowFreeAndNoMessage) {
    EXPECT_EQ(-1, setup.open_device(3, 99, 0xC00, 0, ""));
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(0, open_devices());
    EXPECT_FALSE(setup.connection_slots()[0].used());
}

TEST_F(DeviceSetupTest, PruneReleasesDevicesTheUserClosed) {
    ASSERT_TRUE(run("c2 c3 c9"));
    const int32_t drill = setup.row_value(bus_row::kDrill);
    const int32_t serial = setup.row_value(bus_row::kSerial0);
    board.iosim().device(drill)->user_close();
    board.iosim().device(serial)->user_close();
    setup.prune();
    EXPECT_EQ("NNNYNNNNNNNN", rows());
    EXPECT_EQ(-1, setup.slot_of_handle(drill));
    EXPECT_EQ(-1, setup.slot_of_handle(serial));
    EXPECT_FALSE(board.modules().serial[0].present());
    EXPECT_EQ(1, open_devices());
}

TEST_F(DeviceSetupTest, CancelClosesOnlyWhatWasOpenedSinceTheCommit) {
    ASSERT_TRUE(run("c3 c9"));
    setup.commit();
    ASSERT_TRUE(run("c0 c7"));
    setup.cancel_new();
    EXPECT_EQ("NNNYNNNNNYNN", rows());
    EXPECT_EQ(2, open_devices());
    EXPECT_TRUE(board.modules().serial[0].present());
}

TEST_F(DeviceSetupTest, CloseAllFreesBothTables) {
    ASSERT_TRUE(run("c2 c9"));
    setup.set_option_word(board_option::kBareBoard);
    ASSERT_TRUE(run("c1 c3"));
    setup.close_all();
    EXPECT_EQ("NNNN", rows());
    setup.set_option_word(0);
    EXPECT_EQ("NNNNNNNNNNNN", rows());
    EXPECT_EQ(0, open_devices());
    EXPECT_FALSE(board.modules().serial[0].present());
    EXPECT_FALSE(board.modules().serial[1].present());
}

TEST_F(DeviceSetupTest, DeviceListLines) {
    ASSERT_TRUE(run("c0 c9"));
    EXPECT_EQ("0400 Yes Outport at 400", setup.device_list_line(0));
    EXPECT_EQ("0600 No  Inport at 600", setup.device_list_line(1));
    EXPECT_EQ("0400 NA  Drill: Control at 400, status at 600", setup.device_list_line(2));
    EXPECT_EQ("00C8 Yes SCI 0 Asynchronous Serial Interface", setup.device_list_line(9));
    EXPECT_EQ("", setup.device_list_line(12));
    EXPECT_EQ("0DC0 --  QX19, flipflop at DC0",
              device_list_line(device_rows(BoardKind::kBus)[8], row_value::kDash));
    setup.set_option_word(board_option::kBareBoard | board_option::kLoadMonitor);
    EXPECT_EQ("0001 No  Port B", setup.device_list_line(3));
}

// A window keeps its position under the place its device is bound to.
TEST_F(DeviceSetupTest, PlaceKeysNameTheBoardAndRow) {
    const int drill = setup.connect_row(bus_row::kDrill);
    setup.set_option_word(1);
    const int console = setup.connect_row(bare_row::kSerial0);
    const int loose = setup.open_device(-1, 5, 0x900, 0, "");
    EXPECT_EQ("bus-row-2", setup.place_key(setup.connection_slots()[size_t(drill)].handle));
    EXPECT_EQ("bare-row-0", setup.place_key(setup.connection_slots()[size_t(console)].handle));
    EXPECT_EQ("", setup.place_key(setup.connection_slots()[size_t(loose)].handle));
    EXPECT_EQ("", setup.place_key(-1));
}

} // namespace
} // namespace torva
