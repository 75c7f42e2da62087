// The serial console's screen: the lines the board sent, with carriage
// return, line feed, backspace and tab as a terminal treats them, wrapped
// at the console's width and kept to a bounded number of lines.
#pragma once

#include <deque>
#include <string>
#include <string_view>

namespace torva {

class ConsoleScreen {
public:
    static constexpr int kColumns = 64;
    static constexpr int kKeptLines = 500;

    // Characters as they came from the board.
    void put(std::string_view bytes);

    // The lines, oldest first; characters beyond ASCII show as '?'.
    const std::deque<std::string>& lines() const { return lines_; }
    int column() const { return column_; }

private:
    void new_line();

    std::deque<std::string> lines_{std::string{}};
    int column_ = 0;
};

} // namespace torva
