// What a child window may ask of the frame: its roles (the status bar, dialogs
// and message boxes, the Output window, opening a source at a line), other
// children, the menus and commands. Windows depend on this or on the roles
// alone, never on the frame class.
#pragma once

#include "shell/dialog_host.h"
#include "shell/output_sink.h"
#include "shell/source_opener.h"
#include "shell/status_line.h"

#include <cstdint>
#include <string>

class QMdiSubWindow;
class QRect;
class QSize;
class QWidget;

namespace torva {

class ChildWindow;
class RecentFiles;
struct Directories;
struct SharedBrushes;
struct SharedFonts;

class FrameAccess : public DialogHost, public StatusLine, public OutputSink, public SourceOpener {
public:
    virtual RecentFiles& recent_files() = 0;
    virtual Directories& directories() = 0;
    virtual const SharedFonts& fonts() const = 0;
    virtual const SharedBrushes& brushes() const = 0;

    // Puts a child into the area, where it becomes the active child.
    virtual QMdiSubWindow* add_child(ChildWindow& child, const QRect* geometry = nullptr) = 0;
    virtual void activate_child(QWidget* child) = 0;
    // The child on top of the area, or null.
    virtual QWidget* top_child() const = 0;
    // The size of the area's visible part.
    virtual QSize client_size() const = 0;

    // Sends a command to the frame as a menu item would.
    virtual void send_command(int id, std::intptr_t parameter = 0) = 0;
    // The menu enabling pass (after a child's state changed what is allowed).
    virtual void refresh_menus() = 0;
    virtual void update_title() = 0;
    // An error box, then the program closes.
    virtual void fatal_error(const std::string& text) = 0;
    // The user cancelled a close inside a close query: a Close All or Exit
    // in progress stops after this window.
    virtual void stop_closing() {}
};

} // namespace torva
