// File dialogs: filters, initial directories and the remembered directories.
#include "shell/file_dialogs.h"

#include <QFileDialog>

#include <filesystem>

namespace fs = std::filesystem;

namespace torva {
namespace {

std::string current_dir() {
    std::error_code ec;
    return fs::current_path(ec).generic_string();
}

std::string directory_of(const std::string& path) {
    return fs::path(path).parent_path().generic_string();
}

const std::vector<std::pair<std::string, std::string>> kSourceFilters = {
    {"Source File (.asm,.s12,.s)", "*.asm;*.s12;*.s"},
    {"List Files (.lst)", "*.lst"},
    {"Use/Include file (.h,.inc)", "*.h;*.inc"},
    {"Any File (*.*)", "*.*"},
};

const std::vector<std::pair<std::string, std::string>> kLoadFilters = {
    {"Motorola S-format (.s19)", "*.s19"},
    {"Intel HEX-format (.ihx) ", "*.ihx"},
    {"Any File (*.*)", "*.*"},
};

} // namespace

std::optional<std::string> FileDialogs::source_dialog(QWidget* owner, FileDialogRequest request,
                                                      bool keep_dir) {
    request.filters = kSourceFilters;
    request.initial_dir = dirs_.source_dialog_dir.empty() ? current_dir() : dirs_.source_dialog_dir;
    request.default_suffix = "asm";
    const std::string remembered = dirs_.source_dialog_dir;
    auto chosen = service_->run_file_dialog(owner, request);
    if (chosen) dirs_.source_dialog_dir = directory_of(*chosen);
    if (keep_dir) dirs_.source_dialog_dir = remembered;
    return chosen;
}

std::optional<std::string> FileDialogs::open_source(QWidget* owner, const std::string& seed,
                                                    bool keep_dir) {
    FileDialogRequest request;
    request.mode = FileDialogRequest::Mode::open;
    request.seed = seed;
    return source_dialog(owner, request, keep_dir);
}

std::optional<std::string> FileDialogs::save_source(QWidget* owner, const std::string& seed,
                                                    bool keep_dir) {
    FileDialogRequest request;
    request.mode = FileDialogRequest::Mode::save;
    request.seed = seed;
    request.overwrite_prompt = true;
    return source_dialog(owner, request, keep_dir);
}

std::optional<std::string> FileDialogs::load_file(QWidget* owner) {
    FileDialogRequest request;
    request.mode = FileDialogRequest::Mode::open;
    request.title = "Load File";
    request.filters = kLoadFilters;
    // The file just assembled is the one most likely wanted next.
    request.seed =
        dirs_.assembled_load_file.empty() ? dirs_.load_file_path : dirs_.assembled_load_file;
    request.initial_dir = dirs_.load_dialog_dir.empty() ? current_dir() : dirs_.load_dialog_dir;
    request.must_exist = true;
    const auto chosen = service_->run_file_dialog(owner, request);
    if (!chosen) return std::nullopt;
    dirs_.load_file_path = *chosen;
    dirs_.load_dialog_dir = directory_of(*chosen);
    dirs_.assembled_load_file.clear();
    return chosen;
}

int QtDialogService::run_modal(QDialog& dialog) {
    return dialog.exec();
}

std::optional<std::string> QtDialogService::run_file_dialog(QWidget* owner,
                                                            const FileDialogRequest& request) {
    QFileDialog dialog(owner, QString::fromStdString(request.title),
                       QString::fromStdString(request.initial_dir));
    const bool save = request.mode == FileDialogRequest::Mode::save;
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    // An open dialog for sources may name a file that does not exist yet:
    // the editor creates it.
    dialog.setFileMode(request.must_exist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    if (!request.overwrite_prompt) dialog.setOption(QFileDialog::DontConfirmOverwrite);
    QStringList filters;
    for (const auto& [text, patterns] : request.filters) {
        filters << QString::fromStdString(text) + QStringLiteral(" (") +
                       QString::fromStdString(patterns).replace(QLatin1Char(';'),
                                                                QLatin1Char(' ')) +
                       QLatin1Char(')');
    }
    dialog.setNameFilters(filters);
    if (!request.default_suffix.empty())
        dialog.setDefaultSuffix(QString::fromStdString(request.default_suffix));
    if (!request.seed.empty()) dialog.selectFile(QString::fromStdString(request.seed));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().constFirst().toStdString();
}

} // namespace torva
