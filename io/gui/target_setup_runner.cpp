// The target setup dialog's host over the frame.
#include "io/gui/target_setup_runner.h"

#include "io/gui/device_selection_dialog.h"
#include "io/gui/target_setup_dialog.h"
#include "shell/dialog_host.h"
#include "shell/file_dialogs.h"

namespace torva {

TargetSetupRunner::TargetSetupRunner(DialogHost& dialogs, const QFont& font, DeviceSetup& setup,
                                     std::filesystem::path program_dir, Simulator simulator)
    : dialogs_(dialogs), font_(font), setup_(setup), program_dir_(std::move(program_dir)),
      simulator_(std::move(simulator)) {}

bool TargetSetupRunner::run() {
    TargetSetupDialogLogic logic(setup_, *this, program_dir_);
    TargetSetupDialog dialog(logic, font_, dialogs_.frame_widget());
    if (dialogs_.run_modal(dialog) == QDialog::Accepted) return logic.ok();
    logic.cancel();
    return false;
}

std::optional<std::string>
TargetSetupRunner::choose_descriptor_file(const DescriptorFileChoice& choice) {
    FileDialogRequest request;
    request.mode = choice.save ? FileDialogRequest::Mode::save : FileDialogRequest::Mode::open;
    request.title = choice.title;
    // The dialog adds the patterns to the text: "Target Descriptor (*.hc12sim)".
    request.filters = {{DescriptorFileChoice::kFilterName, DescriptorFileChoice::kFilterPattern}};
    request.initial_dir = choice.initial_dir;
    request.must_exist = !choice.save;
    request.overwrite_prompt = choice.save;
    return dialogs_.file_dialogs().run(dialogs_.frame_widget(), request);
}

int32_t TargetSetupRunner::choose_device_type(PortKind kind, uint32_t address) {
    const DeviceSelectionDialogLogic logic(setup_.types(), setup_.library().GetIOVersion(), kind,
                                           address);
    DeviceSelectionDialog dialog(logic, font_, dialogs_.frame_widget());
    return dialog.chosen(dialogs_.run_modal(dialog));
}

void TargetSetupRunner::run_load_chain() {
    if (simulator_.load_chain) simulator_.load_chain();
}

} // namespace torva
