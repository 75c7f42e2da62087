#include "io/target_setup_dialog.h"

#include "io/board.h"
#include "io/board_option.h"
#include "io/descriptor_file.h"
#include "iosim/devices/port_device.h"
#include "support/temp_dir.h"
#include "support/tool_process.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>

namespace torva {
namespace {

// Answers the dialog's file and device-type questions from a script and
// records what it was asked.
struct ScriptedHost final : TargetSetupHost {
    std::deque<std::optional<std::string>> files;
    std::deque<int32_t> types;
    std::vector<DescriptorFileChoice> file_requests;
    std::vector<std::pair<PortKind, uint32_t>> type_requests;
    int load_chains = 0;

    std::optional<std::string> choose_descriptor_file(const DescriptorFileChoice& choice) override {
        file_requests.push_back(choice);
        if (files.empty()) return std::nullopt;
        auto path = files.front();
        files.pop_front();
        return path;
    }
    int32_t choose_device_type(PortKind kind, uint32_t address) override {
        type_requests.emplace_back(kind, address);
        if (types.empty()) return -1;
        const int32_t type = types.front();
        types.pop_front();
        return type;
    }
    void run_load_chain() override { ++load_chains; }
};

struct TargetSetupDialogTest : ::testing::Test {
    test::TempDir dir;
    std::vector<std::string> messages;
    Board board{[this](const std::string& text) { messages.push_back(text); }};
    DeviceSetup& setup = board.setup();
    ScriptedHost host;
    // The program directory, so that "Default" finds ../config/kiv12.
    std::filesystem::path program_dir = dir.path() / "bin";

    TargetSetupDialogLogic open() { return TargetSetupDialogLogic(setup, host, program_dir); }
    // The state column ("Yes ", "No  ", ...) of a list line.
    static std::string state(const TargetSetupDialogLogic& dialog, int row) {
        return dialog.lines()[size_t(row)].substr(5, 4);
    }
    int open_devices() { return int(board.iosim().handles().size()); }
};

TEST_F(TargetSetupDialogTest, OpeningShowsTheBoardAndPrunesClosedDevices) {
    setup.set_option_word(board_option::kLoadMonitor);
    setup.connect_row(bus_row::kPrinter);
    const int slot = setup.connect_row(bus_row::kDoor);
    board.iosim().device(setup.connection_slots()[size_t(slot)].handle)->user_close();

    TargetSetupDialogLogic dialog = open();
    EXPECT_EQ(0, dialog.board_index());
    EXPECT_TRUE(dialog.load_debugger());
    ASSERT_EQ(12u, dialog.lines().size());
    EXPECT_EQ("0400 No  Outport at 400", dialog.lines()[0]);
    EXPECT_EQ("0B00 No  QX13 door simulator at B00", dialog.lines()[7]); // closed by the user
    EXPECT_EQ("0800 Yes Printer: a fake device", dialog.lines()[11]);
    EXPECT_EQ(1, open_devices());
    EXPECT_FALSE(dialog.connect_enabled());
    EXPECT_FALSE(dialog.disconnect_enabled());
}

// Port rows ask for the type first; the selection stays on the row so the
// buttons follow its new state.
TEST_F(TargetSetupDialogTest, ConnectAndDisconnectFollowTheRowRules) {
    TargetSetupDialogLogic dialog = open();
    dialog.select(bus_row::kOutport);
    EXPECT_TRUE(dialog.connect_enabled());
    host.types = {-1};
    dialog.connect(); // cancelled in the device selection: nothing happens
    EXPECT_EQ("No  ", state(dialog, 0));
    EXPECT_EQ(0, open_devices());

    host.types = {1};
    dialog.connect();
    ASSERT_EQ(2u, host.type_requests.size());
    EXPECT_EQ(PortKind::kOutport, host.type_requests[1].first);
    EXPECT_EQ(0x400u, host.type_requests[1].second);
    EXPECT_EQ("Yes ", state(dialog, 0));
    EXPECT_EQ("No  ", state(dialog, 1));
    EXPECT_EQ("NA  ", state(dialog, 2)); // the outport makes the drill row "NA"
    EXPECT_FALSE(dialog.connect_enabled());
    EXPECT_TRUE(dialog.disconnect_enabled());
    EXPECT_NE(nullptr, dynamic_cast<PortDevice*>(board.device_at(0x400)));

    dialog.select(bus_row::kDrill);
    EXPECT_FALSE(dialog.connect_enabled());
    EXPECT_FALSE(dialog.disconnect_enabled());
    dialog.select(bus_row::kOutport);
    dialog.disconnect();
    EXPECT_EQ("No  ", state(dialog, 2));

    // The drill needs no type. (Which rows it takes is the board's rule.)
    dialog.select(bus_row::kDrill);
    dialog.connect();
    EXPECT_EQ(2u, host.type_requests.size());
    EXPECT_EQ("Yes ", state(dialog, bus_row::kDrill));
}

TEST_F(TargetSetupDialogTest, BoardChoiceKeepsTheMonitorBit) {
    setup.set_option_word(board_option::kLoadMonitor);
    TargetSetupDialogLogic dialog = open();
    dialog.select(3);
    dialog.select_board(1);
    EXPECT_EQ(3u, setup.option_word());
    EXPECT_EQ(1, dialog.board_index());
    ASSERT_EQ(4u, dialog.lines().size());
    EXPECT_EQ("0000 No  Port A", dialog.lines()[2]);
    EXPECT_EQ(-1, dialog.selected());
    host.types = {12};
    dialog.select(bare_row::kPortB);
    dialog.connect();
    EXPECT_EQ(PortKind::kPortB, host.type_requests.at(0).first);
    EXPECT_EQ(0x001u, host.type_requests.at(0).second);
    EXPECT_EQ("Yes ", state(dialog, 3));
}

// OK takes the box and commits; an OK that changed the board, the devices or
// the box runs the load chain (so a ticked box loads the monitor and the
// program starts afresh), one that changed nothing leaves the CPU alone.
// Cancel closes only what was opened since and puts the option word back.
TEST_F(TargetSetupDialogTest, OkCommitsAndLoadsWhatChangedCancelRollsBack) {
    struct Case {
        int line;
        std::function<void(TargetSetupDialogLogic&)> work;
        bool load_chain;
    };
    const Case cases[] = {
        {__LINE__, [](TargetSetupDialogLogic&) {}, false},
        {__LINE__, [](TargetSetupDialogLogic& d) { d.set_load_debugger(true); }, true},
        {__LINE__,
         [](TargetSetupDialogLogic& d) {
             d.select(bus_row::kFlipFlop);
             d.connect();
         },
         true},
        {__LINE__,
         [](TargetSetupDialogLogic& d) {
             d.select(bus_row::kFlipFlop);
             d.disconnect();
         },
         true},
        {__LINE__, [](TargetSetupDialogLogic& d) { d.select_board(1); }, true},
        // There and back again: nothing changed.
        {__LINE__,
         [](TargetSetupDialogLogic& d) {
             d.select_board(1);
             d.select_board(0);
         },
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        const int chains = host.load_chains;
        TargetSetupDialogLogic dialog = open();
        c.work(dialog);
        dialog.ok();
        EXPECT_EQ(c.load_chain ? chains + 1 : chains, host.load_chains);
        for (const ConnectionSlot& slot : setup.connection_slots())
            EXPECT_FALSE(slot.is_new);
        setup.set_option_word(setup.option_word() & ~board_option::kBareBoard);
    }
    EXPECT_EQ(board_option::kLoadMonitor, setup.option_word());

    {
        TargetSetupDialogLogic dialog = open();
        dialog.select(bus_row::kFlipFlop);
        dialog.connect();
        dialog.ok();
    }
    const int chains = host.load_chains;
    TargetSetupDialogLogic dialog = open();
    dialog.select(bus_row::kPrinter);
    dialog.connect();
    dialog.select_board(1);
    dialog.select(bare_row::kSerial0);
    dialog.connect();
    dialog.set_load_debugger(false);
    EXPECT_EQ(3, open_devices());
    dialog.cancel();
    EXPECT_EQ(board_option::kLoadMonitor, setup.option_word());
    EXPECT_EQ(1, open_devices());
    EXPECT_GE(setup.row_value(bus_row::kFlipFlop), 0);
    EXPECT_EQ(row_value::kFree, setup.row_value(bus_row::kPrinter));
    EXPECT_EQ(-1, setup.serial_handle(0));
    EXPECT_EQ(chains, host.load_chains);
}

// Switching boards: OK closes the devices of the board left behind (Cancel
// would have gone back to them). Until then a serial row whose interface
// such a device holds cannot be connected, and says why.
TEST_F(TargetSetupDialogTest, OkClosesTheDevicesOfTheBoardLeftBehind) {
    TargetSetupDialogLogic dialog = open();
    dialog.select(bus_row::kSerial0);
    dialog.connect();
    dialog.select(bus_row::kKeyboardC00);
    dialog.connect();
    dialog.select_board(1);
    dialog.select(bare_row::kSerial0);
    EXPECT_FALSE(dialog.connect_enabled()) << "interface 0 is the bus board's console's";
    EXPECT_EQ("NA  ", state(dialog, bare_row::kSerial0));
    dialog.select(bare_row::kSerial1);
    EXPECT_TRUE(dialog.connect_enabled());
    dialog.connect();
    dialog.ok();
    EXPECT_EQ(1, open_devices());
    EXPECT_EQ(setup.row_value(bare_row::kSerial1), setup.serial_handle(1));
    EXPECT_EQ(-1, setup.serial_handle(0));
    for (int row = 0; row < int(device_rows(BoardKind::kBus).size()); ++row)
        EXPECT_EQ(row_value::kFree, setup.row_value(BoardKind::kBus, row)) << row;
}

TEST_F(TargetSetupDialogTest, SaveAsWritesTheBoxAndRemembersTheDirectory) {
    TargetSetupDialogLogic dialog = open();
    dialog.set_load_debugger(true);
    const std::string path = (dir.path() / "empty.hc12sim").string();
    host.files = {path, std::nullopt};
    dialog.save_as();
    EXPECT_EQ(":emul:2\n", test::read_file(path)); // no devices: only the board line
    EXPECT_EQ(1, host.load_chains);
    dialog.load(); // cancelled: nothing changes, no load chain
    EXPECT_EQ(1, host.load_chains);

    ASSERT_EQ(2u, host.file_requests.size());
    EXPECT_TRUE(host.file_requests[0].save);
    EXPECT_EQ("Save Target Description File", host.file_requests[0].title);
    EXPECT_EQ("", host.file_requests[0].initial_dir);
    EXPECT_FALSE(host.file_requests[1].save);
    EXPECT_EQ("Select Target Description File", host.file_requests[1].title);
    EXPECT_EQ(dir.path().string(), host.file_requests[1].initial_dir);
}

// A descriptor read commits its devices and its board: Cancel keeps both.
TEST_F(TargetSetupDialogTest, CancelAfterLoadKeepsTheFile) {
    const std::string path =
        dir.write("bare.hc12sim", ":iotarget:10:0:200:0:sci0:\n:iotarget:2:0:1024:2::\n:emul:3\n");
    TargetSetupDialogLogic dialog = open();
    dialog.select(bus_row::kDoor);
    dialog.connect();
    dialog.select(3);
    host.files = {path};
    dialog.load();
    EXPECT_EQ(1, host.load_chains);
    EXPECT_EQ(1, dialog.board_index());
    EXPECT_TRUE(dialog.load_debugger());
    EXPECT_EQ(-1, dialog.selected());
    EXPECT_EQ("Yes No  Yes No  ",
              state(dialog, 0) + state(dialog, 1) + state(dialog, 2) + state(dialog, 3));
    dialog.cancel();
    EXPECT_EQ(3u, setup.option_word());
    EXPECT_EQ(2, open_devices());
    EXPECT_EQ("bare", setup.descriptor_display_name());
}

TEST_F(TargetSetupDialogTest, DefaultReadsTheSelectedBoardsDescriptor) {
    std::filesystem::create_directories(dir.path() / "config" / "kiv12");
    dir.write("config/kiv12/rt12s.hc12sim", ":iotarget:10:0:200:0::\n:emul:1\n");
    TargetSetupDialogLogic dialog = open();
    dialog.select(bus_row::kPrinter);
    dialog.connect();
    dialog.select_board(1);
    dialog.set_default();
    EXPECT_EQ("Yes ", state(dialog, bare_row::kSerial0));
    EXPECT_EQ(1, open_devices());
    EXPECT_EQ(0, host.load_chains);
    EXPECT_TRUE(messages.empty());

    dialog.select_board(0); // no rt12.hc12sim: its message, and everything is closed
    dialog.set_default();
    ASSERT_EQ(1u, messages.size());
    EXPECT_EQ("Can't open '" + default_descriptor_path(program_dir, BoardKind::kBus).string() + "'",
              messages[0]);
    EXPECT_EQ(0, open_devices());
}

} // namespace
} // namespace torva
