// Everything the frame offers inside the shell: the roles a window takes
// alone (the status bar, dialogs and message boxes, the Output window,
// opening a source at a line, the child area, the shared look, the child's
// events and menu requests) plus the shell's own needs (directories, a fatal
// error). Windows outside the shell take the roles, never this.
#pragma once

#include "shell/child_area.h"
#include "shell/child_events.h"
#include "shell/dialog_host.h"
#include "shell/menu_requests.h"
#include "shell/output_sink.h"
#include "shell/shared_look.h"
#include "shell/source_opener.h"
#include "shell/status_line.h"

#include <cstdint>
#include <string>

namespace torva {

class RecentFiles;
struct Directories;

class FrameAccess : public DialogHost,
                    public StatusLine,
                    public OutputSink,
                    public SourceOpener,
                    public ChildArea,
                    public SharedLook,
                    public ChildEvents,
                    public MenuRequests {
public:
    virtual RecentFiles& recent_files() = 0;
    virtual Directories& directories() = 0;
    // Sends a command to the frame as a menu item would.
    virtual void send_command(int id, std::intptr_t parameter = 0) = 0;
    // An error box, then the program closes.
    virtual void fatal_error(const std::string& text) = 0;
};

} // namespace torva
