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

#include <string>

namespace torva {

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
    virtual Directories& directories() = 0;
    // An error box, then the program closes.
    virtual void fatal_error(const std::string& text) = 0;
};

} // namespace torva
