// The simulator window's background picture, drawn once per font: labelled
// boxes, the fixed labels, the counters' dark strip and the lamp sockets.
#pragma once

#include <QFont>
#include <QPixmap>

namespace torva {

// text: the 10-point text font; small: the buttons' and labels' font.
QPixmap draw_simulator_picture(const QFont& text, const QFont& small);

} // namespace torva
