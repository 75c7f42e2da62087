// The bootstrap dialog without its widgets: what its fields show of the
// kept options, which controls are on, and how OK reads the fields back.
#pragma once

#include "terminal/bootstrap_dialog_values.h"
#include "terminal/bootstrap_options.h"

#include <array>
#include <optional>
#include <string>

namespace torva {

namespace bootstrap_dialog {
// The controls whose enabling follows the dialog's state.
inline constexpr std::array kSwitchedControls = {kStart,
                                                 kReturn,
                                                 kBrowseBootstrapper,
                                                 kBrowseApplication,
                                                 kBootstrapperOptions,
                                                 kApplicationOptions,
                                                 kSize192,
                                                 kSize256,
                                                 kSizeFile,
                                                 kSizeOther,
                                                 kOtherSize,
                                                 kOffset,
                                                 kBootstrapperPath,
                                                 kApplicationPath,
                                                 kLoadApplication,
                                                 kLeadingFf,
                                                 kApplicationDelay};
} // namespace bootstrap_dialog

// What the dialog's fields hold: the shortened paths and what can be typed
// or checked.
struct BootstrapDialogFields {
    std::string bootstrapper_path;
    std::string application_path;
    int size_button = bootstrap_dialog::kSizeFile;
    std::string other_size;
    std::string offset;
    bool leading_ff = false;
    bool load_application = false;
    std::string delay;
};

class BootstrapDialogLogic {
public:
    // options: the session's, kept while the terminal window is open.
    explicit BootstrapDialogLogic(BootstrapOptions& options) : options_(options) {}

    const BootstrapOptions& options() const { return options_; }
    // The fields as the kept options fill them.
    BootstrapDialogFields fields() const;
    // Whether a control is on while the fields are as shown: none while a
    // bootstrap runs; OK needs a bootstrapper, "Other" opens its number,
    // "Load 'Application'" the application's controls, and Options need
    // the serial settings dialog.
    bool enabled(int id, const BootstrapDialogFields& shown) const;
    // Browse's choice of one of the two files.
    void choose_file(bool application, std::string path);
    // OK, when it can start: the fields read into the options. Gives the
    // notice the stage field shows until the first stage replaces it:
    // "Illegal offset, ignored" for an unreadable offset (taken as 0), ""
    // otherwise.
    bool can_start() const { return !running_ && !options_.bootstrapper_path.empty(); }
    std::string read(const BootstrapDialogFields& shown);
    // The stage field's text after a bootstrap with that result (the port's
    // failure for one that sent nothing); none to leave the field as it was
    // (a question answered No).
    static std::optional<std::string> result_text(int result, const std::string& write_failure);

    bool running() const { return running_; }
    void set_running(bool on) { running_ = on; }
    void set_has_options_dialog(bool on) { has_options_dialog_ = on; }

private:
    BootstrapOptions& options_;
    bool running_ = false;
    bool has_options_dialog_ = false;
};

} // namespace torva
