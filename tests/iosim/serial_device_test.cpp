#include "iosim/io_simulator.h"

#include "iosim/devices/console_screen.h"
#include "iosim/devices/serial_device.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

namespace torva {
namespace {

using Serial = SerialDevice;

// The board's side of the connection: poll, take what waits, acknowledge it.
std::string drain(IoSimulator& lib, int32_t h, int polls) {
    std::string got;
    for (int i = 0; i < polls; ++i) {
        if (lib.InputSim(h, Serial::kReceiveReady) != 1) continue;
        got.push_back(char(lib.InputSim(h, Serial::kReceive)));
        lib.OutputSim(h, 0, Serial::kReceive);
    }
    return got;
}

// Hands out the text a piece at a time, then ends.
struct PiecewiseInput final : SerialInput {
    std::vector<std::string> pieces;
    bool read_available(std::string& bytes) override {
        if (pieces.empty()) return false;
        bytes += pieces.front();
        pieces.erase(pieces.begin());
        return true;
    }
};

// A serial device on the board's interface 0.
struct SerialDeviceTest : ::testing::Test {
    IoSimulator lib;
    const int32_t h = lib.OpenSim(10, "sci0", 0);
    Serial* serial = lib.device_as<Serial>(h);
};

TEST_F(SerialDeviceTest, BytesTowardsTheBoardArePacedAndEveryValueIsData) {
    serial->set_receive_gap(3);
    serial->type_text(std::string("a\0c", 3));
    EXPECT_EQ(3u, serial->pending_input());
    EXPECT_EQ(1, lib.InputSim(h, Serial::kReceiveReady));
    EXPECT_EQ('a', lib.InputSim(h, Serial::kReceive));
    EXPECT_EQ(1, lib.InputSim(h, Serial::kReceiveReady)); // offered until taken
    lib.OutputSim(h, 0, Serial::kReceive);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(0, lib.InputSim(h, Serial::kReceiveReady));
    // The zero byte is a character like any other.
    EXPECT_EQ(1, lib.InputSim(h, Serial::kReceiveReady));
    EXPECT_EQ(0, lib.InputSim(h, Serial::kReceive));
    lib.OutputSim(h, 0, Serial::kReceive);
    EXPECT_EQ("c", drain(lib, h, 10));
    EXPECT_EQ(0, lib.InputSim(h, Serial::kReceiveReady));
    lib.OutputSim(h, 0, Serial::kReceive); // an acknowledge with nothing waiting is harmless
    EXPECT_EQ(0u, serial->pending_input());
    EXPECT_EQ(0, lib.IsIosimPendingIrq(h));

    serial->type_text("dropped");
    serial->drop_input();
    EXPECT_EQ("", drain(lib, h, 10));
}

TEST_F(SerialDeviceTest, BytesFromTheBoardQueueOrGoToAStream) {
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

TEST_F(SerialDeviceTest, InputSourceFeedsTheQueueUntilItsEnd) {
    serial->set_receive_gap(0);
    PiecewiseInput in;
    in.pieces = {std::string("ok\0", 3), "", "!"};
    serial->attach_input(&in);
    EXPECT_EQ(std::string("ok\0", 3), drain(lib, h, 3));
    // A source with nothing yet has not ended; the next piece comes later.
    EXPECT_FALSE(serial->input_ended());
    EXPECT_EQ("!", drain(lib, h, 10));
    EXPECT_TRUE(serial->input_ended());
    serial->type_text("z"); // typing still works once the input has ended
    EXPECT_EQ("z", drain(lib, h, 10));
}

// A linked terminal takes the stream over through the same queues; the link
// and every byte taken count as changes a window repaints on, an empty take
// does not.
TEST_F(SerialDeviceTest, LinkedTerminalTakesTheStreamOver) {
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

TEST(ConsoleScreenTest, ControlCharactersAndWrapping) {
    struct Case {
        int line;
        const char* sent;
        std::vector<const char*> lines;
        int column;
    };
    const Case cases[] = {
        {__LINE__, "Hi\r\nRT12", {"Hi", "RT12"}, 4},
        {__LINE__, "one\ntwo", {"one", "two"}, 3}, // a lone line feed returns too
        {__LINE__, "abc\rX", {"Xbc"}, 1},          // carriage return overwrites
        {__LINE__, "ab\b\bZ", {"Zb"}, 1},
        {__LINE__, "a\tb", {"a       b"}, 9},
        // Other control bytes show nothing, bytes beyond ASCII a "?".
        {__LINE__, "\x07\x01ok\x7F\xE9", {"ok?"}, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        ConsoleScreen screen;
        screen.put(c.sent);
        ASSERT_EQ(c.lines.size(), screen.lines().size());
        for (size_t i = 0; i < c.lines.size(); ++i)
            EXPECT_EQ(c.lines[i], screen.lines()[i]);
        EXPECT_EQ(c.column, screen.column());
    }
    ConsoleScreen wide;
    wide.put(std::string(ConsoleScreen::kColumns + 3, 'x'));
    ASSERT_EQ(2u, wide.lines().size());
    EXPECT_EQ(3u, wide.lines()[1].size());
    ConsoleScreen many;
    many.put(std::string(ConsoleScreen::kKeptLines + 50, '\n'));
    EXPECT_EQ(size_t(ConsoleScreen::kKeptLines), many.lines().size());
}

} // namespace
} // namespace torva
