// The source-file and load-file dialogs with the directories they remember,
// over a dialog service that tests replace by a scripted one.
#pragma once

#include "shell/directories.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

class QDialog;
class QWidget;

namespace torva {

struct FileDialogRequest {
    enum class Mode { open, save };
    Mode mode = Mode::open;
    std::string title;                                        // "" for the platform's own
    std::vector<std::pair<std::string, std::string>> filters; // text, patterns ("*.a;*.b")
    std::string initial_dir;
    std::string seed;           // the file name field
    std::string default_suffix; // "" for none
    bool must_exist = false;
    bool overwrite_prompt = false;
};

class DialogService {
public:
    virtual ~DialogService() = default;
    // The chosen path, or none when cancelled.
    virtual std::optional<std::string> run_file_dialog(QWidget* owner,
                                                       const FileDialogRequest& request) = 0;
    // Runs a modal dialog (the about box, the frame's other dialogs) and
    // returns its result code.
    virtual int run_modal(QDialog& dialog) = 0;
};

// QFileDialog behind the service.
class QtDialogService final : public DialogService {
public:
    std::optional<std::string> run_file_dialog(QWidget* owner,
                                               const FileDialogRequest& request) override;
    int run_modal(QDialog& dialog) override;
};

// The requests the shell and the editor make, and what they remember.
class FileDialogs {
public:
    FileDialogs(DialogService& service, Directories& dirs) : service_(&service), dirs_(dirs) {}

    // "Open" for a source file; keep_dir puts the remembered directory back.
    std::optional<std::string> open_source(QWidget* owner, const std::string& seed = {},
                                           bool keep_dir = false);
    // "New" and "Save As": a save dialog that asks before overwriting.
    std::optional<std::string> save_source(QWidget* owner, const std::string& seed = {},
                                           bool keep_dir = false);
    // "Load File" for an S-record file: the chosen path, which the dialog
    // also remembers as the next seed, or none when cancelled.
    std::optional<std::string> load_file(QWidget* owner);

    // Any other file dialog, as its owner describes it; it remembers its
    // own directory.
    std::optional<std::string> run(QWidget* owner, const FileDialogRequest& request) {
        return service_->run_file_dialog(owner, request);
    }

    void set_service(DialogService& service) { service_ = &service; }
    const Directories& dirs() const { return dirs_; }

private:
    std::optional<std::string> source_dialog(QWidget* owner, FileDialogRequest request,
                                             bool keep_dir);

    DialogService* service_;
    Directories& dirs_;
};

} // namespace torva
