// The program's own workbench: the pieces of the frame's commands that run
// outside the frame proper (so far the Assemble command).
#pragma once

#include "shell/assemble_command.h"
#include "shell/services.h"

#include <memory>

namespace torva {

class ProgramWorkbench final : public WorkbenchFactory {
public:
    // Connects to the frame once it exists.
    void attach(KivFrame& frame, DocumentService* documents) {
        assemble_ = std::make_unique<AssembleCommand>(frame, documents);
    }

    void assemble(const std::string& path) override {
        if (assemble_) assemble_->assemble_active_document(path);
    }
    AssembleCommand* assembler() const { return assemble_.get(); }

private:
    std::unique_ptr<AssembleCommand> assemble_;
};

} // namespace torva
