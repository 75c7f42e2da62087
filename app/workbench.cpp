// Wiring of the program's pieces to the frame.
#include "app/workbench.h"

#include <QCoreApplication>

namespace torva {

Workbench::Workbench()
    : simulated_(QCoreApplication::applicationDirPath().toStdString(),
                 // The loader's messages go to the Output window once the frame exists.
                 [this](std::string_view text) {
                     if (frame_ != nullptr) frame_->output_append(text);
                 }) {}

FrameServices Workbench::services(MessageService& messages, DialogService& dialogs) {
    FrameServices services;
    services.messages = &messages;
    services.dialogs = &dialogs;
    services.documents = &documents_;
    services.assembler = &assembler_;
    services.simulators = &simulator_windows_;
    return services;
}

void Workbench::attach(KivFrame& frame) {
    frame_ = &frame;
    documents_.attach(frame);
    assembler_.attach(frame);
    simulator_windows_.attach(frame);
}

} // namespace torva
