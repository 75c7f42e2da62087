// Debug > Check Lab...: runs a lab file against the current source, the
// source assembled first, with the code rt12check uses, and lists each check
// in the Output window.
#pragma once

#include "shell/services.h"

#include <string>

namespace torva {

class FrameAccess;

class CheckLabCommand final : public LabCheckService {
public:
    // documents may be null (nothing to save).
    explicit CheckLabCommand(DocumentService* documents) : documents_(documents) {}

    void attach(FrameAccess& frame) { frame_ = &frame; }

    // Checks the source at path (the user picks one when it is empty)
    // against a lab file the user picks.
    void check_lab(const std::string& path) override;

    const std::string& last_lab() const { return last_lab_; }

private:
    FrameAccess* frame_ = nullptr;
    DocumentService* documents_;
    std::string last_lab_;
};

} // namespace torva
