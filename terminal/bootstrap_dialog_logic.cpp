// The bootstrap dialog's fields, enabling and reading.
#include "terminal/bootstrap_dialog_logic.h"

#include "terminal/bootstrap.h"
#include "terminal/download_texts.h"
#include "terminal/terminal_texts.h"

namespace torva {

using namespace bootstrap_dialog;

BootstrapDialogFields BootstrapDialogLogic::fields() const {
    BootstrapDialogFields f;
    f.bootstrapper_path = shorten_path(options_.bootstrapper_path, kPathShown);
    f.application_path = shorten_path(options_.application_path, kPathShown);
    f.size_button = size_button(options_.size);
    if (f.size_button == kSizeOther) f.other_size = std::to_string(options_.size);
    f.offset = offset_text(options_.offset);
    f.leading_ff = options_.leading_ff;
    f.load_application = options_.load_application;
    f.delay = std::to_string(options_.application_delay);
    return f;
}

bool BootstrapDialogLogic::enabled(int id, const BootstrapDialogFields& shown) const {
    if (running_) return false;
    switch (id) {
    case kStart: return can_start();
    case kOtherSize: return shown.size_button == kSizeOther;
    case kBootstrapperOptions: return has_options_dialog_;
    case kApplicationOptions: return shown.load_application && has_options_dialog_;
    case kApplicationPath:
    case kBrowseApplication:
    case kApplicationDelay: return shown.load_application;
    default: return true;
    }
}

void BootstrapDialogLogic::choose_file(bool application, std::string path) {
    (application ? options_.application_path : options_.bootstrapper_path) = std::move(path);
}

std::string BootstrapDialogLogic::read(const BootstrapDialogFields& shown) {
    options_.load_application = shown.load_application;
    options_.leading_ff = shown.leading_ff;
    options_.size = size_from(shown.size_button, shown.other_size);
    options_.application_delay = parse_decimal(shown.delay);
    const std::optional<int32_t> offset = parse_offset(shown.offset);
    options_.offset = offset.value_or(0);
    return offset ? std::string() : std::string(bootstrap_message::kIllegalOffset);
}

std::optional<std::string> BootstrapDialogLogic::result_text(int result,
                                                             const std::string& write_failure) {
    // Success shows nothing; a question answered No leaves the field as it
    // was (it may hold the offset's notice).
    if (result == kBootstrapNotSent) return write_failure;
    if (result == kBootstrapDeclined) return std::nullopt;
    return std::string(bootstrap_result_text(result));
}

} // namespace torva
