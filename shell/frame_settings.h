// The frame's own settings in the per-user store beside the recent files:
// its size, position and maximised state, and whether the toolbar shows.
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

} // namespace torva
