// The toolbar under the menu bar with the everyday commands.
#pragma once

#include <functional>

class QMainWindow;
class QMenu;
class QToolBar;

namespace torva {

// Builds the toolbar into the frame: each button sends its command through
// dispatch, the Terminal button opens terminal_menu (the "&Terminal"
// pop-up). Icons come from the desktop's theme, else from Qt's own set; tips
// name the command and its key. Hiding it from the context menu is
// remembered.
QToolBar* build_toolbar(QMainWindow& frame, QMenu* terminal_menu,
                        const std::function<void(int id)>& dispatch);

} // namespace torva
