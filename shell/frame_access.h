// What a child window may ask of the frame: the status bar, message boxes and
// dialogs, the Output window, opening a source at a line, other children, the
// menus and commands. Windows depend on this, never on the frame class.
#pragma once

#include <QString>

#include <cstdint>
#include <string>
#include <string_view>

class QDialog;
class QMdiSubWindow;
class QRect;
class QSize;
class QWidget;

namespace torva {

class ChildWindow;
class FileDialogs;
class MessageBoxes;
class RecentFiles;
struct Directories;
struct SharedBrushes;
struct SharedFonts;

class FrameAccess {
public:
    virtual ~FrameAccess() = default;

    // The frame window itself: the owner of dialogs and tool windows.
    virtual QWidget* frame_widget() = 0;
    virtual MessageBoxes& messages() = 0;
    virtual FileDialogs& file_dialogs() = 0;
    // Runs a modal dialog through the dialog service; returns its result.
    virtual int run_modal(QDialog& dialog) = 0;
    virtual RecentFiles& recent_files() = 0;
    virtual Directories& directories() = 0;
    virtual const SharedFonts& fonts() const = 0;
    virtual const SharedBrushes& brushes() const = 0;

    // Status bar: part 0 (texts, "Ready") and part 1 (line and column).
    virtual void set_status_text(const QString& text) = 0;
    virtual void set_status_ready() = 0;
    virtual void set_line_column_text(const QString& text) = 0;

    // The Output window: append a line (ignored when it is absent); create
    // it if needed, then clear it and remove the documents' line marks.
    virtual void output_append(std::string_view text) = 0;
    virtual void output_show_and_clear() = 0;
    // Opens (or activates) the source and marks its one-based line.
    virtual void open_source_at(const std::string& path, int line_number) = 0;

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
