// Control characters and wrapping of the serial console's screen.
#include "iosim/gui/console_screen.h"

namespace torva {

void ConsoleScreen::new_line() {
    lines_.append(QString{});
    column_ = 0;
    if (lines_.size() > kKeptLines) lines_.removeFirst();
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
        QString& line = lines_.back();
        if (line.size() < column_) line.append(QString(column_ - line.size(), QLatin1Char(' ')));
        const QChar shown(c < 127 ? c : '?');
        if (column_ < line.size())
            line[column_] = shown;
        else
            line.append(shown);
        ++column_;
    }
}

} // namespace torva
