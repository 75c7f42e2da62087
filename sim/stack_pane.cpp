// The stack pane's window rule and line texts.
#include "sim/stack_pane.h"

#include <cstdio>

namespace torva {

void StackPane::refresh(uint16_t sp) {
    sp_ = sp;
    const uint16_t offset = uint16_t(sp - start_);
    if (offset < 3 || offset > 6) start_ = uint16_t(sp - 6);
}

std::string StackPane::line_text(int line) const {
    const uint16_t address = uint16_t(start_ + line);
    uint8_t byte = 0xFF;
    if (memory_.peek_byte(address, byte) != 0) byte = 0xFF;
    char text[16];
    std::snprintf(text, sizeof text, "%4.4X %2.2X", unsigned(address), unsigned(byte));
    return text;
}

} // namespace torva
