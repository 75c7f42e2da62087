// A terminal without its window: keys, logging, title, context menu, the
// per-port store, the dialog's view of the settings, path shortening.
#include "terminal/port_store.h"
#include "terminal/settings_dialog_values.h"
#include "terminal/terminal_commands.h"
#include "terminal/terminal_session.h"
#include "terminal/terminal_texts.h"

#include "support/temp_dir.h"
#include "support/tool_process.h"

#include <gtest/gtest.h>

namespace torva {
namespace {

using Writes = std::vector<std::string>;

SerialPortEntry com(int number) {
    return {number, "", "COM" + std::to_string(number + 1)};
}

TEST(TerminalSessionTest, EnterSendsWhatTheKeyboardTranslationSays) {
    TerminalSession session(com(0), board_terminal_defaults());
    EXPECT_EQ(Writes{"\r"}, session.typed('\r'));
    session.settings().keyboard = KeyboardTranslation::kLineFeedCarriageReturn;
    EXPECT_EQ((Writes{"\n", "\r"}), session.typed('\r')); // two writes, LF first
    session.settings().keyboard = KeyboardTranslation::kLineFeed;
    EXPECT_EQ(Writes{"\n"}, session.typed('\r'));
    EXPECT_EQ(Writes{"a"}, session.typed('a'));
}

TEST(TerminalSessionTest, LoggingWritesEveryByteButCarriageReturnsFromTheStart) {
    test::TempDir dir;
    const auto log = dir.path() / kLogFileName;
    dir.write(kLogFileName, "an older and much longer log");
    TerminalSession session(com(1), board_terminal_defaults());
    EXPECT_EQ("(COM2:9600,N,8,1)", session.title());
    ASSERT_TRUE(session.start_logging(log));
    EXPECT_EQ("(COM2:9600,N,8,1)  Terminal log= logfile.log", session.title());
    const uint8_t bytes[] = {'o', 'k', '\r', '\n', 0x90};
    session.receive(bytes);
    EXPECT_EQ(std::string("ok\n\x90"), test::read_file(log)); // readable while logging
    session.stop_logging();
    session.receive(bytes);
    EXPECT_EQ(std::string("ok\n\x90"), test::read_file(log));
    EXPECT_FALSE(session.start_logging(dir.path() / "no-such-dir" / kLogFileName));
    EXPECT_FALSE(session.logging());
}

TEST(TerminalSessionTest, TitleShowsTheSettingsAndThePortsOwnName) {
    SerialSettings s;
    s.baud = 19200;
    s.parity = 2;
    s.byte_size = 7;
    s.stop_bits = 1;
    EXPECT_EQ("(COM9:19200,E,7,1.5)", terminal_title("COM9", s, false));
    s.parity = 4;
    s.stop_bits = 2;
    EXPECT_EQ("(/dev/pts/3:19200,S,7,2)", terminal_title("/dev/pts/3", s, false));
}

TEST(TerminalSessionTest, PathsLongerThanTheLimitKeepTheirHeadAndTail) {
    EXPECT_EQ("c:/short/a.s19", shorten_path("C:\\Short\\A.s19"));
    const std::string exact(30, 'x');
    EXPECT_EQ(exact, shorten_path(exact));
    const std::string shortened = shorten_path("/home/student/projects/rt12/lab/blink.s19");
    EXPECT_EQ("/hom....../.rt12/lab/blink.s19", shortened);
    EXPECT_EQ(30u, shorten_path(exact + "y").size());
}

TEST(TerminalSessionTest, PortStoreRestoresTheFirstEightPortsOnly) {
    PortStore store;
    TerminalSettings changed = board_terminal_defaults();
    changed.background = rgb(10, 20, 30);
    changed.receive = ReceiveTranslation::kBoth;
    changed.load_command = "load\\r";
    changed.serial.baud = 38400;
    EXPECT_FALSE(store.load(1));
    store.save(1, changed); // COM2
    store.save(8, changed); // COM9 has no record
    EXPECT_EQ(changed, store.load(1));
    EXPECT_FALSE(store.load(8));
    EXPECT_FALSE(store.load(-1));
    store.clear();
    EXPECT_FALSE(store.load(1));
}

TEST(TerminalSessionTest, SettingsAreRepairedBeforeConfiguring) {
    SerialSettings s{0, 0, 3, 5, 4, 0};
    repair_serial_settings(s);
    EXPECT_EQ((SerialSettings{9600, 0, 8, 0, 1, 0}), s); // stop bits above 3 become 1
    SerialSettings kept{300, 0xF, 4, 4, 3, 0xF};
    repair_serial_settings(kept);
    EXPECT_EQ((SerialSettings{300, 0xF, 4, 4, 3, 0xF}), kept);
}

TEST(TerminalSessionTest, DialogShowsOddValuesAsItsDefaultsAndStoresWhatItShows) {
    namespace d = serial_dialog;
    TerminalSettings terminal = board_terminal_defaults();
    const SerialSettings odd{12345, line_control::make(3, 3), 9, 7, 5, 0xFF};
    const d::Values v = d::values_for(odd, terminal);
    EXPECT_EQ(2006, v.baud);      // 9600
    EXPECT_EQ(2041, v.byte_size); // 8
    EXPECT_EQ(2042, v.parity);    // none
    EXPECT_EQ(2047, v.stop_bits); // one
    EXPECT_EQ(2031, v.dtr);       // Disable
    EXPECT_EQ(2036, v.rts);       // Toggle
    EXPECT_EQ(0xFu, v.flow);

    d::Values typed = v;
    typed.baud = 2014;
    typed.receive = 2022;
    typed.load_command = std::string(40, 'c');
    SerialSettings serial;
    d::store_values(typed, serial, terminal);
    EXPECT_EQ((SerialSettings{256000, line_control::make(0, 3), 8, 0, 0, 0xF}), serial);
    EXPECT_EQ(ReceiveTranslation::kBoth, terminal.receive);
    EXPECT_EQ(std::string(31, 'c'), terminal.load_command);
    EXPECT_EQ(typed.load_command.substr(0, 31), d::values_for(serial, terminal).load_command);
}

} // namespace
} // namespace torva
