// What a child window tells the frame about itself: its state changed what
// the menus allow, its title changed, or the user cancelled its close.
#pragma once

namespace torva {

class ChildEvents {
public:
    virtual ~ChildEvents() = default;
    // The menu enabling pass (after a child's state changed what is allowed).
    virtual void refresh_menus() = 0;
    // The frame's title follows the top child's (its name, its modified mark).
    virtual void update_title() = 0;
    // The user cancelled a close inside a close query: a Close All or Exit
    // in progress stops after this window.
    virtual void stop_closing() = 0;
};

} // namespace torva
