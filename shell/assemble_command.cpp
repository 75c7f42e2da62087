// The Assemble command's steps, in their fixed order, around one run of the
// assembler.
#include "shell/assemble_command.h"

#include "asm/messages.h"
#include "shell/directories.h"
#include "shell/file_dialogs.h"
#include "shell/frame_access.h"
#include "shell/frame_settings.h"
#include "shell/message_service.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace fs = std::filesystem;

namespace torva {
namespace {

std::string lower_extension(const std::string& path) {
    const auto dot = path.rfind('.');
    if (dot == std::string::npos) return {};
    std::string ext = path.substr(dot + 1);
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ext;
}

} // namespace

AssembleCommand::AssembleCommand(DocumentService* documents)
    : documents_(documents), other_syntax_(accept_other_syntax()) {
    session_.compat_switch = "Debug > Accept other assemblers' syntax";
}

void AssembleCommand::set_accepts_other_syntax(bool on) {
    other_syntax_ = on;
    store_accept_other_syntax(on);
}

void AssembleCommand::attach(FrameAccess& frame) {
    frame_ = &frame;
    session_.write_line = [this](std::string_view line) {
        std::string text(line);
        text += '\n';
        frame_->output_append(text);
    };
    session_.fatal = [this](std::string_view text) { frame_->fatal_error(std::string(text)); };
}

std::string AssembleCommand::command_line(const std::string& program_dir, const std::string& path,
                                          bool other_syntax) {
    return std::string(" -L -w -g ") + (other_syntax ? "-c " : "") + "-I \"" + program_dir +
           "/../include/machine/rt12\" \"" + path + "\"";
}

bool AssembleCommand::extension_allows(const std::string& path) {
    const std::string ext = lower_extension(path);
    if (ext == "s12" || ext == "asm") return true;
    // The assembler writes "<name>.lst", "<name>.s19" and "<name>.dbg": a source
    // of such a name would be overwritten by its own output.
    if (asm_names_an_output(path)) {
        frame_->messages().error(message(Msg::OutputNameConflict).text, path);
        return false;
    }
    return frame_->messages().question("'%s' has wrong extension, assemble anyway?", path) ==
           kBoxYes;
}

void AssembleCommand::assemble(const std::string& given_path) {
    if (frame_ == nullptr) return;
    if (documents_ != nullptr) {
        documents_->clear_line_marks();
        // Assembling the file as the disk holds it would pass off an older
        // text as the one on screen.
        if (!documents_->save_modified_sources()) return;
    }
    frame_->output_show_and_clear(); // removes the line marks again

    std::string path = given_path;
    if (path.empty()) {
        const auto chosen =
            frame_->file_dialogs().open_source(frame_->frame_widget(), last_assembled_);
        if (!chosen) return;
        path = *chosen;
    }
    // The program's directory is settled after the frame exists.
    session_.program_dir = frame_->directories().program_dir;
    const std::string line = command_line(session_.program_dir, path, other_syntax_);
    if (!extension_allows(path)) return;

    std::error_code ec;
    const fs::path remembered = fs::current_path(ec);
    const fs::path source_dir = fs::absolute(path, ec).parent_path();
    fs::current_path(source_dir, ec);
    frame_->set_status_text(QStringLiteral("Assembling"));
    Directories& dirs = frame_->directories();
    dirs.source_dialog_dir = dirs.load_dialog_dir = source_dir.generic_string();

    asm_assemble(session_, line);

    // A run without errors leaves its load file beside the source.
    const fs::path load_file = source_dir / fs::path(path).filename().replace_extension(".s19");
    dirs.assembled_load_file = fs::exists(load_file, ec) ? load_file.generic_string() : "";
    last_assembled_ = path;
    source_dir_ = source_dir.generic_string();
    if (!remembered.empty()) fs::current_path(remembered, ec);
    frame_->set_status_ready();
}

std::string AssembleCommand::message_file_path(const std::string& named) const {
    const fs::path path(named);
    if (named.empty() || path.is_absolute() || source_dir_.empty()) return named;
    const fs::path resolved = (fs::path(source_dir_) / path).lexically_normal();
    std::error_code ec;
    return fs::exists(resolved, ec) ? resolved.generic_string() : named;
}

} // namespace torva
