// The menu commands a child window starts from a click of its own (a margin
// click, a double click); the frame runs them as the menu item would.
#pragma once

namespace torva {

class MenuRequests {
public:
    virtual ~MenuRequests() = default;
    // Toggle Breakpoint (F9) on the line of the caret in the top document.
    virtual void toggle_breakpoint() = 0;
    // The terminal's Reload: the most recently chosen load file again.
    virtual void reload_load_file() = 0;
};

} // namespace torva
