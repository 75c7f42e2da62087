// The shell's settings in the per-user store beside the recent files: the
// frame's and the help window's size, position and maximised state, whether
// the toolbar shows, and whether Assemble accepts other assemblers' syntax.
#pragma once

class QByteArray;
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

// The help window's geometry and the split between its contents and text;
// empty until it first closed.
void store_help_window_layout(const QByteArray& geometry, const QByteArray& splitter);
QByteArray help_window_geometry();
QByteArray help_splitter_state();

} // namespace torva
