// The simulator toolbar's icons, drawn in code: one small glyph per command.
#pragma once

#include <QIcon>

namespace torva {

QIcon simulator_toolbar_icon(int command_id);

} // namespace torva
