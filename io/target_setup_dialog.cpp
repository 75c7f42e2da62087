// The target setup dialog's sequences over the device configuration.
#include "io/target_setup_dialog.h"

#include "io/board_option.h"
#include "io/descriptor_file.h"

namespace torva {

TargetSetupDialogLogic::TargetSetupDialogLogic(DeviceSetup& setup, TargetSetupHost& host,
                                               std::filesystem::path program_dir)
    : setup_(setup), host_(host), program_dir_(std::move(program_dir)),
      saved_option_word_(setup.option_word()),
      load_debugger_((setup.option_word() & board_option::kLoadMonitor) != 0) {
    rebuild();
    loaded_configuration_ = descriptor_text(setup_);
}

int TargetSetupDialogLogic::board_index() const {
    return is_bare_board(setup_.option_word()) ? 1 : 0;
}

void TargetSetupDialogLogic::select_board(int index) {
    if (index < 0 || index > 1) return;
    setup_.set_option_word((setup_.option_word() & board_option::kLoadMonitor) | uint32_t(index));
    selected_ = -1;
    rebuild();
}

void TargetSetupDialogLogic::rebuild() {
    setup_.types();
    setup_.prune();
    lines_.clear();
    for (int row = 0; row < setup_.row_count(); ++row)
        lines_.push_back(setup_.device_list_line(row));
    if (selected_ >= int(lines_.size())) selected_ = -1;
}

void TargetSetupDialogLogic::select(int row) {
    selected_ = row >= 0 && row < int(lines_.size()) ? row : -1;
}

bool TargetSetupDialogLogic::connect_enabled() const {
    // A free row whose serial interface serves another board's device
    // cannot take one: its line reads "NA" and Connect is greyed.
    return selected_ >= 0 && setup_.can_bind(selected_);
}

bool TargetSetupDialogLogic::disconnect_enabled() const {
    return selected_ >= 0 && setup_.row_value(selected_) >= 0;
}

void TargetSetupDialogLogic::connect() {
    if (!connect_enabled()) return;
    const DeviceRow& row = device_rows(setup_.board())[size_t(selected_)];
    int32_t type = 0;
    if (row.port_kind != PortKind::kNone) {
        type = host_.choose_device_type(row.port_kind, row.address);
        if (type < 0) return;
    }
    setup_.connect_row(selected_, type);
    rebuild();
}

void TargetSetupDialogLogic::disconnect() {
    if (!disconnect_enabled()) return;
    setup_.disconnect_row(selected_);
    rebuild();
}

std::optional<std::string> TargetSetupDialogLogic::choose_file(bool save) {
    DescriptorFileChoice choice;
    choice.save = save;
    choice.title = save ? DescriptorFileChoice::kSaveTitle : DescriptorFileChoice::kOpenTitle;
    choice.initial_dir = setup_.descriptor_dialog_dir();
    auto path = host_.choose_descriptor_file(choice);
    if (path) setup_.set_descriptor_dialog_dir(std::filesystem::path(*path).parent_path().string());
    return path;
}

void TargetSetupDialogLogic::refresh_after_read(bool read) {
    // A descriptor read is a commit: its devices are no longer new, and the
    // board it names is the one Cancel keeps (the devices are bound to that
    // board's table; going back to the other board would leave them open
    // without a row to show or disconnect them).
    if (read) saved_option_word_ = setup_.option_word();
    load_debugger_ = (setup_.option_word() & board_option::kLoadMonitor) != 0;
    selected_ = -1;
    rebuild();
}

void TargetSetupDialogLogic::load() {
    const auto path = choose_file(false);
    if (!path) return;
    const bool read = read_descriptor(setup_, *path);
    run_load_chain();
    refresh_after_read(read);
}

void TargetSetupDialogLogic::take_load_debugger() {
    const uint32_t word = setup_.option_word() & ~board_option::kLoadMonitor;
    setup_.set_option_word(word | (load_debugger_ ? board_option::kLoadMonitor : 0));
}

void TargetSetupDialogLogic::save_as() {
    take_load_debugger();
    const auto path = choose_file(true);
    if (!path) return;
    save_descriptor(setup_, *path);
    run_load_chain();
}

void TargetSetupDialogLogic::run_load_chain() {
    host_.run_load_chain();
    loaded_configuration_ = descriptor_text(setup_);
}

void TargetSetupDialogLogic::set_default() {
    refresh_after_read(
        read_descriptor(setup_, default_descriptor_path(program_dir_, setup_.board()).string()));
}

bool TargetSetupDialogLogic::ok() {
    take_load_debugger();
    setup_.close_other_board();
    setup_.commit();
    if (descriptor_text(setup_) == loaded_configuration_) return false;
    run_load_chain();
    return true;
}

void TargetSetupDialogLogic::cancel() {
    setup_.cancel_new();
    setup_.set_option_word(saved_option_word_);
}

} // namespace torva
