// Control characters and wrapping of the serial console's screen.
#include "iosim/devices/console_screen.h"

#include <algorithm>

namespace torva {

void ConsoleScreen::new_line() {
    lines_.emplace_back();
    column_ = 0;
    if (lines_.size() > size_t(kKeptLines)) lines_.pop_front();
}

void ConsoleScreen::put(std::string_view bytes) {
    for (const char byte : bytes) {
        const auto c = static_cast<unsigned char>(byte);
        switch (c) {
        case '\r': column_ = 0; continue;
        // A line feed also returns the carriage: programs that end lines
        // with it alone still print one line under the other.
        case '\n': new_line(); continue;
        case '\b':
            if (column_ > 0) --column_;
            continue;
        case '\t': column_ = std::min(kColumns - 1, (column_ / 8 + 1) * 8); continue;
        default: break;
        }
        if (c < 32 || c == 127) continue;
        if (column_ >= kColumns) new_line();
        std::string& line = lines_.back();
        if (line.size() < size_t(column_)) line.resize(size_t(column_), ' ');
        const char shown = c < 127 ? char(c) : '?';
        if (size_t(column_) < line.size())
            line[size_t(column_)] = shown;
        else
            line.push_back(shown);
        ++column_;
    }
}

} // namespace torva
