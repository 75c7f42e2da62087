// The texts the device setup shows, and the one place that fills them in.
#pragma once

#include <cstdio>
#include <functional>
#include <string>

namespace torva {

// Receives each message the device setup shows the user; a window turns it
// into a message box, tests record it.
using MessageSink = std::function<void(const std::string& text)>;

namespace setup_message {
inline constexpr const char kTooManyDevices[] =
    "You already have max (%d) devices connected, disconnect one and try again";
// Follows the line above when a descriptor names more devices than there
// are slots.
inline constexpr const char kDevicesLeftOut[] = "(%d more devices of the file were not connected)";
inline constexpr const char kCantOpen[] = "Can't open '%s'";
inline constexpr const char kCantCreate[] = "Can't create '%s'";
} // namespace setup_message

// A catalog format with its one argument filled in.
template <typename Arg>
std::string format_message(const char* format, Arg arg) {
    const int length = std::snprintf(nullptr, 0, format, arg);
    if (length <= 0) return format;
    std::string text(size_t(length) + 1, '\0');
    std::snprintf(text.data(), text.size(), format, arg);
    text.resize(size_t(length));
    return text;
}

} // namespace torva
