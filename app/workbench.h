// The program's composition root: creates the objects of the subsystems that
// plug into the frame (editor documents, the Assemble command, and the
// simulator and terminal windows as they come) and hands each the services
// it needs. No other folder reaches into its siblings to find them.
#pragma once

#include "editor/document_list.h"
#include "shell/assemble_command.h"
#include "shell/frame.h"

namespace torva {

class Workbench {
public:
    Workbench() = default;
    Workbench(const Workbench&) = delete;
    Workbench& operator=(const Workbench&) = delete;

    // The services the frame is created with (messages and dialogs come
    // from the caller).
    FrameServices services(MessageService& messages, DialogService& dialogs);
    // Connects the pieces to the frame once it exists, before anything opens.
    void attach(KivFrame& frame);

private:
    EditorDocuments documents_;
    AssembleCommand assembler_{&documents_};
};

} // namespace torva
