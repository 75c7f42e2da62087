#include "io/descriptor_file.h"

#include "io/board.h"
#include "io/board_option.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <sys/stat.h>

namespace torva {
namespace {

struct DescriptorFileTest : ::testing::Test {
    std::vector<std::string> messages;
    Board board{[this](const std::string& text) { messages.push_back(text); }};
    DeviceSetup& setup = board.setup();
    test::TempDir dir;

    int open_devices() { return int(board.iosim().handles().size()); }
    int used_slots() const {
        int count = 0;
        for (const ConnectionSlot& slot : setup.connection_slots())
            count += slot.used();
        return count;
    }
};

TEST_F(DescriptorFileTest, WritesTheExampleConfiguration) {
    ASSERT_GE(setup.connect_row(bus_row::kSerial0), 0);
    ASSERT_GE(setup.connect_row(bus_row::kKeyboardC00), 0);
    EXPECT_EQ(":iotarget:10:0:200:9:sci0:\n"
              ":iotarget:6:2:3072:3::\n"
              ":emul:0\n",
              descriptor_text(setup));
}

// A file describes one board: devices still bound to the other board's
// table (the board was switched in the dialog, not yet confirmed) are left
// out, and devices for the bus window keep their own kind of line.
TEST_F(DescriptorFileTest, SavesTheDevicesOfTheBoardItNames) {
    ASSERT_GE(setup.connect_row(bus_row::kKeyboardC00), 0);
    apply_descriptor_text(setup, ":iosim:1:0:2560:-1:\n");
    setup.set_option_word(board_option::kBareBoard);
    ASSERT_GE(setup.connect_row(bare_row::kSerial0), 0);
    const std::string text = descriptor_text(setup);
    EXPECT_EQ(":iosim:1:0:2560:-1:\n"
              ":iotarget:10:0:200:0::\n"
              ":emul:1\n",
              text);
    Board other;
    apply_descriptor_text(other.setup(), text);
    EXPECT_EQ(text, descriptor_text(other.setup()));
}

TEST_F(DescriptorFileTest, ReadsTheExampleConfiguration) {
    const std::string path = dir.write("example.hc12sim", ":iotarget:10:0:200:9:sci0:\n"
                                                          ":iotarget:6:2:3072:3::\n"
                                                          ":emul:0\n");
    ASSERT_TRUE(read_descriptor(setup, path));
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(2, used_slots());
    EXPECT_TRUE(board.modules().serial[0].present());
    const int32_t keyboard = setup.row_value(bus_row::kKeyboardC00);
    ASSERT_GE(keyboard, 0);
    EXPECT_EQ("$C00", board.iosim().device(keyboard)->address_text());
    EXPECT_EQ(2, board.iosim().GetOptionSim(keyboard));
    EXPECT_EQ("sci0", board.iosim().device(setup.row_value(bus_row::kSerial0))->address_text());
    for (const ConnectionSlot& slot : setup.connection_slots())
        EXPECT_FALSE(slot.is_new); // reading commits
    EXPECT_EQ(path, setup.current_descriptor());
    EXPECT_EQ("example", setup.descriptor_display_name());
}

TEST_F(DescriptorFileTest, RoundTripsThroughAFile) {
    struct Case {
        int line;
        uint32_t option_word;
        std::vector<std::pair<int, int32_t>> rows; // row and chosen port type
    };
    const Case cases[] = {
        {__LINE__, 0, {{bus_row::kDrill, 0}, {bus_row::kPrinter, 0}, {bus_row::kSerial1, 0}}},
        {__LINE__, 2, {{bus_row::kOutport, 12}, {bus_row::kInport, 11}, {bus_row::kDoor, 0}}},
        {__LINE__, 1, {{bare_row::kSerial0, 0}, {bare_row::kPortA, 3}, {bare_row::kPortB, 2}}},
        {__LINE__, 3, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        setup.close_all();
        setup.set_option_word(c.option_word);
        for (const auto& [row, type] : c.rows)
            ASSERT_GE(setup.connect_row(row, type), 0);
        const std::string saved = descriptor_text(setup);
        const std::string path = (dir.path() / "round.hc12sim").string();
        ASSERT_TRUE(save_descriptor(setup, path));

        Board other;
        other.setup().set_option_word(c.option_word ^ 1); // the file decides the board
        ASSERT_TRUE(read_descriptor(other.setup(), path));
        EXPECT_EQ(saved, descriptor_text(other.setup()));
        EXPECT_EQ(c.option_word, other.setup().option_word());
        for (int row = 0; row < setup.row_count(); ++row)
            EXPECT_EQ(setup.device_list_line(row), other.setup().device_list_line(row));
    }
}

TEST_F(DescriptorFileTest, ReadingClosesEveryDeviceFirst) {
    struct Case {
        int line;
        bool exists;
        const char* text;
    };
    const Case cases[] = {
        {__LINE__, true, ""},
        {__LINE__, true, "just a comment\n"},
        {__LINE__, false, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        messages.clear();
        setup.set_current_descriptor("before.hc12sim");
        ASSERT_GE(setup.connect_row(bus_row::kSerial0), 0);
        ASSERT_GE(setup.connect_row(bus_row::kDoor), 0);
        const std::string path = c.exists ? dir.write("file.hc12sim", c.text)
                                          : (dir.path() / "missing.hc12sim").string();
        EXPECT_EQ(c.exists, read_descriptor(setup, path));
        EXPECT_EQ(0, open_devices());
        EXPECT_EQ(0, used_slots());
        EXPECT_FALSE(board.modules().serial[0].present());
        if (c.exists) {
            EXPECT_TRUE(messages.empty());
            EXPECT_EQ(path, setup.current_descriptor());
        } else {
            ASSERT_EQ(1u, messages.size());
            EXPECT_EQ("Can't open '" + path + "'", messages[0]);
            EXPECT_EQ("before.hc12sim", setup.current_descriptor());
        }
    }
}

TEST_F(DescriptorFileTest, EmptyPathReadsNothingAndKeepsTheDevices) {
    ASSERT_GE(setup.connect_row(bus_row::kDoor), 0);
    EXPECT_FALSE(read_descriptor(setup, ""));
    EXPECT_EQ(1, open_devices());
    EXPECT_TRUE(messages.empty());
}

TEST_F(DescriptorFileTest, SaveFailureIsReported) {
    const std::string path = (dir.path() / "no-such-dir" / "x.hc12sim").string();
    EXPECT_FALSE(save_descriptor(setup, path));
    ASSERT_EQ(1u, messages.size());
    EXPECT_EQ("Can't create '" + path + "'", messages[0]);
}

// Lines open devices only when well formed and bound within the tables.
TEST_F(DescriptorFileTest, OnlyWellFormedLinesThatCanBeBoundCount) {
    struct Case {
        int line;
        const char* text;
        int opened; // devices the text leaves open
        uint32_t option_word;
    };
    const Case cases[] = {
        {__LINE__, ":iotarget:6:0:3072:12::\n", 0, 0},         // beyond the bus board's 12 rows
        {__LINE__, ":iotarget:10:0:200:4::\n:emul:1\n", 0, 1}, // beyond the bare board's 4
        {__LINE__, ":iotarget:6:0:3072:-2::\n", 0, 0},         // no such row
        {__LINE__, ":iotarget:6:0:3072:3::\n:iotarget:6:0:3072:3::\n", 1, 0}, // row taken
        {__LINE__, ":iotarget:1:0:1024:0::\n:iotarget:9:0:1024:2::\n", 1, 0}, // drill "NA"
        {__LINE__, ":iotarget:99:0:3072:3::\n", 0, 0}, // the library refuses the type
        {__LINE__, ":iotarget:6:0:3072:3::\n", 1, 0},  // a good line for contrast
        {__LINE__, ":iotarget:6:0:3072:-1::\n", 0, 0}, // no row is outside the table too
        {__LINE__, "iotarget:6:0:3072:3::\n", 0, 0},   // no leading colon
        {__LINE__, " :iotarget:6:0:3072:3::\n", 0, 0},
        {__LINE__, ":IOTARGET:6:0:3072:3::\n", 0, 0},
        {__LINE__, ":iotarget:6:0:3072\n", 0, 0},     // fields missing
        {__LINE__, ":iotarget:6:x:3072:3::\n", 0, 0}, // not a number
        {__LINE__, ":iotarget:6:0:3072:3x::\n", 0, 0},
        {__LINE__, ":iotarget:6:0:99999999999:3::\n", 0, 0},       // out of range
        {__LINE__, ":iotarget:6:0:3072:3::\r\n:emul:2\r\n", 1, 2}, // CRLF lines
        {__LINE__, ":iotarget:6:0:3072:3\n", 1, 0},                // no name field at all
        {__LINE__, ":emul:7\n", 0, 3},                             // only bits 0 and 1
        {__LINE__, ":emul:\n", 0, 0},
        {__LINE__, ":emul:1\n:emul:2\n", 0, 2}, // the last one counts
        {__LINE__, ":\n::\n:::::::::::::\n\n", 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        setup.close_all();
        setup.set_option_word(0);
        apply_descriptor_text(setup, c.text);
        EXPECT_EQ(c.opened, open_devices());
        EXPECT_EQ(c.opened, used_slots());
        EXPECT_EQ(c.option_word, setup.option_word());
    }
}

TEST_F(DescriptorFileTest, SplitsFieldsAtColonsAndEndsAtControlCharacters) {
    const auto line = split_descriptor_line(":iotarget:10:0:200:9:sci0:\r");
    ASSERT_TRUE(line);
    EXPECT_EQ((std::vector<std::string>{"iotarget", "10", "0", "200", "9", "sci0", ""}),
              line->fields);
    const auto cut = split_descriptor_line(":iosim:1\t:2:3");
    ASSERT_TRUE(cut);
    EXPECT_EQ((std::vector<std::string>{"iosim", "1"}), cut->fields);
    const auto capped =
        split_descriptor_line(":a:" + std::string(20, '1') + ":2:3:4:" + std::string(80, 'n'));
    ASSERT_TRUE(capped);
    EXPECT_EQ(std::string(15, '1'), capped->fields[1]);
    EXPECT_EQ(std::string(63, 'n'), capped->fields[5]);
    EXPECT_FALSE(split_descriptor_line("x:iotarget"));
    EXPECT_FALSE(split_descriptor_line(""));
}

TEST_F(DescriptorFileTest, SlotNamesKeepThirtyTwoCharacters) {
    apply_descriptor_text(setup, ":iotarget:6:0:3072:3:" + std::string(40, 'k') + ":\n");
    ASSERT_TRUE(setup.connection_slots()[0].used());
    EXPECT_EQ(std::string(32, 'k'), setup.connection_slots()[0].name);
}

TEST_F(DescriptorFileTest, IosimLinesOpenDevicesForTheBusWindowOnly) {
    apply_descriptor_text(setup, ":iosim:1:0:2560:-1:\n");
    ASSERT_TRUE(setup.connection_slots()[0].used());
    EXPECT_EQ(0xA00u, setup.connection_slots()[0].base);
    EXPECT_EQ("$A00", board.iosim().device(setup.connection_slots()[0].handle)->address_text());
    EXPECT_EQ("", setup.connection_slots()[0].name);
    for (int row = 0; row < setup.row_count(); ++row)
        EXPECT_LT(setup.row_value(row), 0) << row;
    uint8_t byte = 0;
    ASSERT_EQ(0, board.memory().mem_write_byte(0xA00, 0x5A));
    ASSERT_EQ(0, board.memory().mem_read_byte(0xA00, byte));
    EXPECT_EQ(0x5A, byte);
}

TEST_F(DescriptorFileTest, GarbageNeverBreaksTheReader) {
    std::mt19937 random(12345);
    const std::string alphabet = ":::::0123456789-+iotargesmul \t\r\x01\xff";
    for (int round = 0; round < 300; ++round) {
        std::string text;
        for (int line = 0; line < 8; ++line) {
            text += random() % 4 ? ":" : "";
            const char* words[] = {"iotarget:", "iosim:", "emul:", ""};
            text += words[random() % 4];
            const size_t length = random() % 40;
            for (size_t i = 0; i < length; ++i)
                text += alphabet[random() % alphabet.size()];
            text += '\n';
        }
        apply_descriptor_text(setup, text);
        EXPECT_LE(setup.option_word(), 3u);
        if (round % 10 == 0) setup.close_all();
    }
}

TEST_F(DescriptorFileTest, EveryLineEndEndsALine) {
    for (const char* end : {"\r", "\n", "\r\n"}) {
        SCOPED_TRACE(testing::PrintToString(end));
        const std::string e = end;
        ASSERT_TRUE(read_descriptor(setup, dir.write("d.hc12sim", ":iosim:1:0:2560:-1:" + e +
                                                                      ":iosim:1:0:2816:-1:" + e +
                                                                      ":emul:1" + e)));
        EXPECT_EQ(2, used_slots());
        EXPECT_EQ(1u, setup.option_word());
    }
}

TEST_F(DescriptorFileTest, WhatIsNotARegularFileIsRefused) {
    const std::string fifo = (dir.path() / "fifo").string();
    ASSERT_EQ(0, mkfifo(fifo.c_str(), 0600));
    for (const std::string& path : {dir.path().string(), fifo, std::string("/dev/zero")}) {
        SCOPED_TRACE(path);
        messages.clear();
        EXPECT_FALSE(read_descriptor(setup, path));
        EXPECT_EQ(std::vector<std::string>{"Can't open '" + path + "'"}, messages);
    }
    // A line of any length is read as one line, its excess dropped.
    ASSERT_TRUE(read_descriptor(
        setup, dir.write("long.hc12sim", ":iosim:1:0:2560:-1:" + std::string(3'000'000, 'x') +
                                             "\n:iosim:1:0:2816:-1:\n")));
    EXPECT_EQ(2, used_slots());
}

TEST_F(DescriptorFileTest, DevicesBeyondTheSlotsAreReportedOnceWithTheirCount) {
    std::string text;
    for (int i = 0; i < 10'000; ++i)
        text += ":iosim:1:0:" + std::to_string(2560 + i) + ":-1:\n";
    apply_descriptor_text(setup, text);
    EXPECT_EQ(DeviceSetup::kSlotCount, used_slots());
    EXPECT_EQ(
        std::vector<std::string>{"You already have max (20) devices connected, disconnect one "
                                 "and try again\n(9980 more devices of the file were not "
                                 "connected)"},
        messages);
}

TEST_F(DescriptorFileTest, DisplayNameOfTheCurrentDescriptor) {
    struct Case {
        int line;
        std::string path;
        std::string name;
    };
    const Case cases[] = {
        {__LINE__, "", "<DEFAULT>"},
        {__LINE__, "/home/user/boards/lab3.hc12sim", "lab3"},
        {__LINE__, "lab.v2.hc12sim", "lab.v2"},
        {__LINE__, "/x/" + std::string(70, 'n') + ".hc12sim", std::string(64, 'n')},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        setup.set_current_descriptor(c.path);
        EXPECT_EQ(c.name, setup.descriptor_display_name());
    }
}

TEST_F(DescriptorFileTest, DefaultDescriptorsLieInTheConfigurationDirectory) {
    EXPECT_EQ("/opt/torva6/config/kiv12/rt12.hc12sim",
              default_descriptor_path("/opt/torva6/bin", BoardKind::kBus).string());
    EXPECT_EQ("/opt/torva6/config/kiv12/rt12s.hc12sim",
              default_descriptor_path("/opt/torva6/bin/", BoardKind::kBare).string());
}

TEST_F(DescriptorFileTest, ShippedDefaultsConnectSerialInterfaceZero) {
    const char* source = std::getenv("TORVA_SOURCE_DIR");
    if (!source) GTEST_SKIP() << "TORVA_SOURCE_DIR is set when CTest runs the test";
    const std::filesystem::path program_dir = std::filesystem::path(source) / "bin";
    struct Case {
        int line;
        BoardKind board;
        uint32_t option_word;
        int serial_row;
    };
    const Case cases[] = {
        {__LINE__, BoardKind::kBus, 0, bus_row::kSerial0},
        {__LINE__, BoardKind::kBare, 1, bare_row::kSerial0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        ASSERT_TRUE(read_descriptor(setup, default_descriptor_path(program_dir, c.board).string()));
        EXPECT_EQ(c.option_word, setup.option_word());
        EXPECT_EQ(1, open_devices());
        EXPECT_GE(setup.row_value(c.serial_row), 0);
        EXPECT_TRUE(board.modules().serial[0].present());
        EXPECT_FALSE(board.modules().serial[1].present());
    }
    EXPECT_TRUE(messages.empty());
}

} // namespace
} // namespace torva
