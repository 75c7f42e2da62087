// The Assemble command: saves the sources, clears the Output window, checks
// the file name and runs the built-in assembler on the source in its own
// directory, with listing and warnings on and the board's include directory.
#pragma once

#include "asm/session.h"
#include "shell/services.h"

#include <string>

namespace torva {

class FrameAccess;

class AssembleCommand final : public AssemblerService {
public:
    // documents may be null (no editor: nothing to save or mark).
    explicit AssembleCommand(DocumentService* documents);

    // The frame the command reports to; nothing assembles before it is set.
    void attach(FrameAccess& frame);

    // Assembles path; with an empty path the user picks the file first.
    void assemble(const std::string& path) override;
    void reset_assembler_options() override {}
    // "Accept other assemblers' syntax": remembered, and passed on as -c.
    bool accepts_other_syntax() const override { return other_syntax_; }
    void set_accepts_other_syntax(bool on) override;
    // A file named relative to the last assembled source's directory (as
    // included files are) becomes a full path when it exists there.
    std::string message_file_path(const std::string& named) const override;

    // The fixed part of the command line for a program in program_dir
    // (with -c for other assemblers' syntax), followed by the quoted source
    // path.
    static std::string command_line(const std::string& program_dir, const std::string& path,
                                    bool other_syntax = false);

    const std::string& last_assembled() const { return last_assembled_; }
    AsmSession& session() { return session_; }

private:
    // The extension check; false when the file must not be assembled.
    bool extension_allows(const std::string& path);

    FrameAccess* frame_ = nullptr;
    DocumentService* documents_;
    AsmSession session_;
    bool other_syntax_;
    std::string last_assembled_;
    std::string source_dir_; // of the last assembled source
};

} // namespace torva
