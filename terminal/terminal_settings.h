// What a terminal remembers about its port: colours, the two translations,
// the load command and three serial settings records; and this board's
// defaults for all of it.
#pragma once

#include "terminal/serial_settings.h"

#include <cstdint>
#include <string>

namespace torva {

// An RGB colour as 0x00RRGGBB.
using RgbColour = uint32_t;
constexpr RgbColour rgb(uint8_t r, uint8_t g, uint8_t b) {
    return RgbColour(r) << 16 | RgbColour(g) << 8 | b;
}
constexpr uint8_t red(RgbColour c) {
    return uint8_t(c >> 16);
}
constexpr uint8_t green(RgbColour c) {
    return uint8_t(c >> 8);
}
constexpr uint8_t blue(RgbColour c) {
    return uint8_t(c);
}

// What the Enter key sends.
enum class KeyboardTranslation : uint32_t {
    kLineFeedCarriageReturn = 0, // line feed, then carriage return
    kLineFeed = 1,
    kCarriageReturn = 2,
};

// How received carriage returns and line feeds move the cursor.
enum class ReceiveTranslation : uint32_t {
    kBoth = 0,           // "NL/CR -> Linefeed"
    kLineFeed = 1,       // "NL -> Linefeed"
    kCarriageReturn = 2, // "CR -> Linefeed"
};

struct TerminalSettings {
    // The load command holds at most this many characters.
    static constexpr size_t kLoadCommandMax = 31;

    RgbColour background = rgb(0, 255, 255);
    RgbColour text = rgb(0, 0, 0);
    KeyboardTranslation keyboard = KeyboardTranslation::kCarriageReturn;
    ReceiveTranslation receive = ReceiveTranslation::kCarriageReturn;
    // Sent to the board's monitor before a download, with the escapes \n
    // and \r: by default the letter l, a backslash and the letter n.
    std::string load_command = "l\\n";
    SerialSettings serial;
    SerialSettings bootstrap_serial;
    SerialSettings application_serial;

    bool operator==(const TerminalSettings&) const = default;
};

// The defaults for the RT12 and its monitor: a cyan grid with black text,
// Enter sends a carriage return, a carriage return starts a new line,
// 9600 baud with 8 data bits, no parity, one stop bit, DTR and RTS
// disabled and no flow control for all three serial records.
TerminalSettings board_terminal_defaults();

// The bytes the Enter key sends, in order (each is written on its own).
std::string enter_key_bytes(KeyboardTranslation translation);

} // namespace torva
