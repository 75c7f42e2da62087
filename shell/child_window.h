// What the frame expects of every window inside its multiple-document area.
#pragma once

#include <cstdint>

class QMenu;
class QWidget;

namespace torva {

// Lets a child enable or grey the frame's menu items by command id.
class MenuItems {
public:
    virtual ~MenuItems() = default;
    virtual void set_enabled(int id, bool enabled) = 0;
};

// A child window handles the commands the frame forwards to it, answers the
// close query (doing its own asking: save? download running?) and enables
// its menu items when a menu opens. The frame is handed this interface with
// the child's widget when the child joins its area.
class ChildWindow {
public:
    virtual ~ChildWindow() = default;
    // The widget the frame puts into a sub-window (the child itself).
    virtual QWidget& as_widget() = 0;
    // Returns true when the command concerned this window.
    virtual bool handle_command(int id, std::intptr_t parameter) = 0;
    // True when the window may be closed now.
    virtual bool close_query() { return true; }
    // Called after the frame has greyed the document items; popup is the
    // menu about to open, or null for the pass at start-up.
    virtual void menu_popup(MenuItems& /*items*/, QMenu* /*popup*/) {}
    // The window became the active child of the area.
    virtual void child_activated() {}
};

} // namespace torva
