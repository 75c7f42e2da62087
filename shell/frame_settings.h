// The shell's settings in the per-user store beside the recent files: the
// frame's size, position and maximised state, whether the toolbar shows,
// and whether Assemble accepts other assemblers' syntax.
#pragma once

class QMainWindow;

namespace torva {

void store_frame_geometry(const QMainWindow& frame);
// Puts the frame where it was when it last closed; false when nothing was
// stored (the frame then covers the work area).
bool restore_frame_geometry(QMainWindow& frame);

void store_toolbar_visible(bool visible);
// True unless the user hid the toolbar.
bool toolbar_visible();

void store_accept_other_syntax(bool on);
// False until the user switched it on.
bool accept_other_syntax();

} // namespace torva
