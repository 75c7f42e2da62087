// The load command's escapes.
#include "terminal/load_command.h"

#include <cstdint>

namespace torva {

void send_load_command(SerialLink& link, std::string_view command,
                       const std::function<void(char)>& illegal_escape) {
    for (size_t i = 0; i < command.size(); ++i) {
        uint8_t byte = uint8_t(command[i]);
        if (byte == '\\') {
            // A lone backslash at the end has no pair: it is reported, not
            // read past.
            const char escaped = i + 1 < command.size() ? command[++i] : '\\';
            if (escaped == 'n')
                byte = '\n';
            else if (escaped == 'r')
                byte = '\r';
            else {
                if (illegal_escape) illegal_escape(escaped);
                continue;
            }
        }
        link.write(std::span(&byte, 1));
    }
}

} // namespace torva
