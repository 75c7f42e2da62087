// The Check Lab command over the lab checker.
#include "shell/check_lab_command.h"

#include "lab/batch.h"
#include "lab/lab_reader.h"
#include "lab/report.h"
#include "shell/directories.h"
#include "shell/file_dialogs.h"
#include "shell/frame_access.h"

#include <QApplication>

#include <filesystem>

namespace torva {

void CheckLabCommand::check_lab(const std::string& given_path) {
    if (frame_ == nullptr) return;
    if (documents_ != nullptr) documents_->save_modified_sources();
    std::string source = given_path;
    if (source.empty()) {
        const auto chosen = frame_->file_dialogs().open_source(frame_->frame_widget());
        if (!chosen) return;
        source = *chosen;
    }
    FileDialogRequest request;
    request.title = "Check Lab";
    request.filters = {{"Lab file (.toml)", "*.toml"}, {"All files", "*"}};
    request.initial_dir = last_lab_.empty()
                              ? std::filesystem::path(source).parent_path().generic_string()
                              : std::filesystem::path(last_lab_).parent_path().generic_string();
    request.seed = last_lab_;
    request.must_exist = true;
    const auto lab_path = frame_->file_dialogs().run(frame_->frame_widget(), request);
    if (!lab_path) return;
    last_lab_ = *lab_path;

    frame_->output_show_and_clear();
    frame_->set_status_text(QStringLiteral("Checking lab"));
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const auto say = [this](const std::string& line) { frame_->output_append(line + "\n"); };
    const std::filesystem::path program_dir = frame_->directories().program_dir;
    std::string error;
    if (const auto lab = lab::read_lab_file(*lab_path, program_dir, error)) {
        const lab::SubmissionResult result = lab::check_submission(*lab, source, program_dir);
        // The assembler's lines first, as Assemble shows them: a double
        // click on an error lands on its line.
        if (result.program.state == lab::Program::State::kReady)
            for (const std::string& line : result.program.messages)
                say(line);
        for (const std::string& line : lab::result_lines(*lab, result))
            say(line);
    } else {
        say(error);
    }
    QApplication::restoreOverrideCursor();
    frame_->set_status_ready();
}

} // namespace torva
