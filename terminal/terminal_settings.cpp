// This board's terminal defaults and the Enter key's bytes.
#include "terminal/terminal_settings.h"

namespace torva {

TerminalSettings board_terminal_defaults() {
    return TerminalSettings{};
}

std::string enter_key_bytes(KeyboardTranslation translation) {
    switch (translation) {
    case KeyboardTranslation::kLineFeedCarriageReturn: return "\n\r";
    case KeyboardTranslation::kLineFeed: return "\n";
    case KeyboardTranslation::kCarriageReturn: break;
    }
    return "\r";
}

} // namespace torva
