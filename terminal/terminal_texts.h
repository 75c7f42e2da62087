// Texts a terminal window shows: its messages, its title, and long paths
// shortened for menus and fields.
#pragma once

#include "terminal/serial_settings.h"

#include <string>
#include <string_view>

namespace torva {

namespace terminal_message {
inline constexpr char kCantSetParameters[] = "Can't set serial port parameters";
inline constexpr char kCantObtainState[] = "Can't obtain serial device state";
inline constexpr char kCantSetState[] = "Can't set comm state";
inline constexpr char kCantSetMask[] = "Can't set Comm Mask";
inline constexpr char kCantSetBuffer[] = "Can't set Comm Buffer";
inline constexpr char kNotEnoughMemory[] = "Not Enough Memory, operation aborted";
inline constexpr char kCantCreateLog[] = "Cannot create logfile";
inline constexpr char kDownloadInProgress[] = "Download in progress, can't quit now";
// Why a port refuses bytes when the system gives no reason of its own.
inline constexpr char kNothingWent[] = "no byte went out for 2 seconds";
} // namespace terminal_message

// "Can't write to <port>: <reason>", as the status bar shows a write failure.
std::string cant_write_text(std::string_view port_name, std::string_view reason);

// The log file, in the current directory.
inline constexpr char kLogFileName[] = "logfile.log";

// "(COM1:9600,N,8,1)": the port's name, the baud rate, the parity letter,
// the byte size and the stop bits ("1", "1.5" or "2"); while logging
// followed by "  Terminal log= logfile.log".
std::string terminal_title(std::string_view port_name, const SerialSettings& settings,
                           bool logging);

// A path of at most limit characters is kept whole; a longer one becomes
// its first 4 characters, "......\.", and its last limit - 12 characters.
// Either way it is turned to lower case with every backslash a slash.
std::string shorten_path(std::string_view path, size_t limit = 30);

} // namespace torva
