// What an editor document asks of the frame: its dialogs and boxes, the
// status bar, the background brush, the title and closing bookkeeping, the
// breakpoint toggle of a margin click, and the recent files.
#pragma once

namespace torva {

class ChildEvents;
class DialogHost;
class MenuRequests;
class RecentFiles;
class SharedLook;
class StatusLine;

struct DocumentRoles {
    DialogHost& dialogs;
    StatusLine& status;
    const SharedLook& look;
    ChildEvents& events;
    MenuRequests& requests;
    RecentFiles& recent_files;
};

} // namespace torva
