// Placing a window on screen relative to the window it belongs to.
#pragma once

class QWidget;

namespace torva {

// Centres a window over the owner's client area, or over its screen.
void centre_over(QWidget& window, const QWidget* owner);

} // namespace torva
