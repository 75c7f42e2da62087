// The seam through which the "&Terminal" pop-up learns which serial ports
// are there: the terminal's side of the program lists them; tests replace it.
#pragma once

#include "shell/menu_tree.h"

#include <vector>

namespace torva {

class PortLister {
public:
    virtual ~PortLister() = default;
    // The ports to offer, with their numbers and menu texts.
    virtual std::vector<MenuBar::PortItem> present_ports() = 0;
};

} // namespace torva
