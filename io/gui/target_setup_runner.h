// Runs the target setup dialog over the frame: its file dialogs and the
// device selection dialog go through the frame's dialog host, its load
// chain and CPU reset to the simulator the program wired in.
#pragma once

#include "io/device_setup.h"
#include "io/target_setup_dialog.h"

#include <QFont>

#include <filesystem>
#include <functional>

namespace torva {

class DialogHost;

class TargetSetupRunner final : public TargetSetupHost {
public:
    struct Simulator {
        std::function<void()> load_chain; // monitor image, load file, full reset
    };

    // font: the dialogs' small fixed font.
    TargetSetupRunner(DialogHost& dialogs, const QFont& font, DeviceSetup& setup,
                      std::filesystem::path program_dir, Simulator simulator);

    // The dialog from opening to OK (commit) or Cancel (roll back); true
    // when OK ran the load chain.
    bool run();

    std::optional<std::string> choose_descriptor_file(const DescriptorFileChoice& choice) override;
    int32_t choose_device_type(PortKind kind, uint32_t address) override;
    void run_load_chain() override;

private:
    DialogHost& dialogs_;
    QFont font_;
    DeviceSetup& setup_;
    std::filesystem::path program_dir_;
    Simulator simulator_;
};

} // namespace torva
