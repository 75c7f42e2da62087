// What the simulator window's panel shows and offers, without the window:
// the lamps, the counters' texts and both context menus as lists of entries,
// the run commands with their keys.
#pragma once

#include "sim/breakpoint_table.h"
#include "sim/simulator.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace torva {

struct Lamps {
    bool io_break = false;
    bool irq_break = false;
    bool running = false;
    bool exception_handling = false;
    bool rom_write = false;
    bool service_irq = false;
    bool service_xirq = false;
    bool operator==(const Lamps&) const = default;
};
Lamps lamps_of(Simulator& sim);

// "%7.7u": seven digits at least.
std::string counter_text(uint32_t count);

// One menu entry: id 0 is a separator; a non-empty submenu makes a pop-up.
struct MenuEntry {
    int id = 0;
    std::string text;
    bool checked = false;
    std::vector<MenuEntry> submenu;
};

// Over a disassembly line holding a breakpoint in state (none: no entry).
// symbols: whether the Program pane shows the debug map's labels; none when
// no map is loaded (no Show Symbols item then).
std::vector<MenuEntry> line_menu(std::optional<BreakState> state,
                                 std::optional<bool> symbols = std::nullopt);
// Anywhere else in the window, for the simulator's state now.
std::vector<MenuEntry> window_menu(Simulator& sim, std::optional<bool> symbols = std::nullopt);

} // namespace torva
