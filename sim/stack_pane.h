// The stack pane without the window: which eight bytes it shows around the
// stack pointer, their lines, and where and in which colour the arrow points.
#pragma once

#include "io/memory_map.h"

#include <cstdint>
#include <string>

namespace torva {

class StackPane {
public:
    static constexpr int kLines = 8;

    explicit StackPane(const MemoryMap& memory) : memory_(memory) {}

    // Follows the stack pointer: unless it lies between start + 3 and
    // start + 6, the window starts at stack pointer - 6.
    void refresh(uint16_t sp);
    uint16_t start() const { return start_; }
    // "%4.4X %2.2X": address and byte (FF where nothing can be read).
    std::string line_text(int line) const;
    int arrow_line() const { return uint16_t(sp_ - start_); }
    // Red when the stack pointer changed since the last paint.
    bool arrow_changed() const { return sp_ != painted_sp_; }
    void painted() { painted_sp_ = sp_; }

private:
    const MemoryMap& memory_;
    uint16_t start_ = 0;
    uint16_t sp_ = 6;
    uint16_t painted_sp_ = 6;
};

} // namespace torva
