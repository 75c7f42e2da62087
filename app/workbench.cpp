// Wiring of the program's pieces to the frame.
#include "app/workbench.h"

namespace torva {

FrameServices Workbench::services(MessageService& messages, DialogService& dialogs) {
    FrameServices services;
    services.messages = &messages;
    services.dialogs = &dialogs;
    services.documents = &documents_;
    services.assembler = &assembler_;
    return services;
}

void Workbench::attach(KivFrame& frame) {
    documents_.attach(frame);
    assembler_.attach(frame);
}

} // namespace torva
