// Sending the terminal's load command, which starts a load at the board's
// monitor, with its two escapes.
#pragma once

#include "terminal/serial_link.h"

#include <functional>
#include <string_view>

namespace torva {

// Sends the command one byte per write: a backslash and "n" send a line
// feed, a backslash and "r" a carriage return, every other character
// itself. A backslash before any other character sends nothing for the
// pair and hands that character to illegal_escape; the command goes on
// after the pair. A backslash that ends the command is handed over itself.
void send_load_command(SerialLink& link, std::string_view command,
                       const std::function<void(char)>& illegal_escape);

} // namespace torva
