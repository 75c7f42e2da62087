#include "device_window_fixture.h"

#include "iosim/devices/flip_flop.h"
#include "iosim/devices/keyboard.h"
#include "iosim/devices/serial_device.h"
#include "iosim/gui/flip_flop_window.h"
#include "iosim/gui/keypad_window.h"
#include "iosim/gui/serial_console_window.h"

namespace torva {
namespace {

using KeypadWindowTest = test::DeviceWindowFixture;
using FlipFlopWindowTest = test::DeviceWindowFixture;
using SerialConsoleWindowTest = test::DeviceWindowFixture;

// A key is held while the mouse button is down; the program reads the new
// key, and the window shows the latch.
TEST_F(KeypadWindowTest, ClickedAndTypedKeysReachTheProgram) {
    open<Keyboard>(DeviceType::kKeyboard, "$C00");
    auto& keypad = static_cast<KeypadWindow&>(*window);
    mouse(QEvent::MouseButtonPress, keypad.key_rect(0xA).center());
    EXPECT_EQ(Keyboard::kNewKey | Keyboard::kKeyDown | 0xA, library.InputSim(handle, 1));
    EXPECT_TRUE(lit_amber(colour_at(keypad.new_key_lamp().center())));
    mouse(QEvent::MouseButtonRelease, keypad.key_rect(0xA).center());
    EXPECT_EQ(Keyboard::kNewKey | 0xA, library.InputSim(handle, 1));

    library.OutputSim(handle, 0x00, 0); // acknowledge
    EXPECT_FALSE(lit_amber(colour_at(keypad.new_key_lamp().center())));
    key(QEvent::KeyPress, Qt::Key_C, "c");
    key(QEvent::KeyPress, Qt::Key_C, "c"); // the key held: no second press
    EXPECT_EQ(Keyboard::kNewKey | Keyboard::kKeyDown | 0xC, library.InputSim(handle, 0));
    key(QEvent::KeyRelease, Qt::Key_C, "c");
    type_key(Qt::Key_G, "g"); // not a keypad key
    EXPECT_EQ(Keyboard::kNewKey | 0xC, library.InputSim(handle, 0));
    mouse(QEvent::MouseButtonPress, keypad.key_rect(0x7).center());
    screenshot("keyboard");
    mouse(QEvent::MouseButtonRelease, keypad.key_rect(0x7).center());

    // The window loses the focus while a key is held: the key comes up, as
    // no release event will reach the window now.
    key(QEvent::KeyPress, Qt::Key_5, "5");
    EXPECT_EQ(Keyboard::kNewKey | Keyboard::kKeyDown | 0x5, library.InputSim(handle, 0));
    QFocusEvent focus_out(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(window.get(), &focus_out);
    EXPECT_EQ(Keyboard::kNewKey | 0x5, library.InputSim(handle, 0));
}

TEST_F(FlipFlopWindowTest, ButtonSetsTheFlipFlopAndItsLamp) {
    open<FlipFlop>(DeviceType::kFlipFlop, "$DC0");
    auto& flip_flop = static_cast<FlipFlopWindow&>(*window);
    EXPECT_FALSE(lit_amber(colour_at(flip_flop.lamp_rect().center())));
    click(flip_flop.button_rect().center());
    EXPECT_EQ(1, library.IsIosimPendingIrq(handle));
    EXPECT_TRUE(lit_amber(colour_at(flip_flop.lamp_rect().center())));
    screenshot("flipflop");
    EXPECT_EQ(0x01, library.InputSim(handle, 0)); // the handler's read clears it
    EXPECT_FALSE(lit_amber(colour_at(flip_flop.lamp_rect().center())));
    type_key(Qt::Key_Space, " ");
    EXPECT_EQ(1, library.IsIosimPendingIrq(handle));
}

// What the program sends appears here and leaves the device's queue; keys go
// to the program. Linked to a terminal, the console leaves both alone.
TEST_F(SerialConsoleWindowTest, ShowsOutputAndSendsKeysUnlessLinked) {
    auto& console = open<SerialDevice>(DeviceType::kSerial, "sci0");
    auto& screen = static_cast<SerialConsoleWindow&>(*window);
    for (const char c : std::string("RT12 Monitor\r\n> "))
        library.OutputSim(handle, c, 1);
    window->refresh();
    EXPECT_EQ("RT12 Monitor", screen.screen().lines()[0]);
    EXPECT_EQ("", console.output());
    type_key(Qt::Key_G, "g");
    type_key(Qt::Key_Return, "\r");
    EXPECT_EQ(2u, console.pending_input());
    screenshot("serial");

    console.set_linked(true);
    library.OutputSim(handle, 'x', 1);
    window->refresh();
    EXPECT_EQ("x", console.output());
    EXPECT_EQ("> ", screen.screen().lines().back());
    type_key(Qt::Key_H, "h");
    EXPECT_EQ(2u, console.pending_input());
}

} // namespace
} // namespace torva
