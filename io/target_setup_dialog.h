// What the target setup dialog ("RT12 Settings") does, without the dialog:
// the board choice, the "Load debugger" box, the device list, and its
// Connect, Disconnect, Load, Save As, Default, OK and Cancel sequences.
#pragma once

#include "io/device_setup.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace torva {

// A file dialog for a target descriptor, as the dialog asks for one.
struct DescriptorFileChoice {
    static constexpr char kOpenTitle[] = "Select Target Description File";
    static constexpr char kSaveTitle[] = "Save Target Description File";
    // The filter the dialogs show: "Target Descriptor (*.hc12sim)".
    static constexpr char kFilterName[] = "Target Descriptor";
    static constexpr char kFilterPattern[] = "*.hc12sim";

    bool save = false;       // save: overwrite prompt; open: the file must exist
    std::string title;       // one of the two titles above
    std::string initial_dir; // the directory used last, "" for the current one
};

// What the dialog needs from its surroundings.
class TargetSetupHost {
public:
    virtual ~TargetSetupHost() = default;
    // A file dialog; the chosen path, none when cancelled.
    virtual std::optional<std::string>
    choose_descriptor_file(const DescriptorFileChoice& choice) = 0;
    // The device selection dialog for a port row: the chosen type, or -1.
    virtual int32_t choose_device_type(PortKind kind, uint32_t address) = 0;
    // The simulator's load chain (monitor image, load file, full reset).
    virtual void run_load_chain() {}
};

class TargetSetupDialogLogic {
public:
    static constexpr char kTitle[] = "RT12 Settings";
    static constexpr char kHeader[] = "Base       Con.   Device";
    static constexpr const char* kBoardNames[] = {"RT12 - with IO bus", "RT12s - bare RT12"};
    static constexpr char kLoadDebuggerLabel[] = "Load debugger";

    // Opening: saves the option word for Cancel, prunes devices the user
    // closed, fetches the device-type list, fills the list. program_dir is
    // where the default descriptors are found ("Default").
    TargetSetupDialogLogic(DeviceSetup& setup, TargetSetupHost& host,
                           std::filesystem::path program_dir);

    // The board combo box's selection (0 bus board, 1 bare board) and the
    // "Load debugger" box, which takes effect on OK and Save As.
    int board_index() const;
    bool load_debugger() const { return load_debugger_; }
    void set_load_debugger(bool on) { load_debugger_ = on; }
    void select_board(int index);

    // One line per row of the selected board's table.
    const std::vector<std::string>& lines() const { return lines_; }

    // List selection (-1 for none). Connect works only on a free row,
    // Disconnect only on a connected one.
    void select(int row);
    int selected() const { return selected_; }
    bool connect_enabled() const;
    bool disconnect_enabled() const;

    // The buttons. The selection stays on its row after Connect and
    // Disconnect, so the buttons follow the row's new state.
    void connect();
    void disconnect();
    void load();
    void save_as();
    void set_default();
    // The dialog's end: OK commits, Cancel rolls back. OK closes the devices
    // of the board left behind, and when the board, the devices or the box
    // changed since the simulator last loaded it runs the load chain (the monitor
    // image when ticked, the load file, the reset); otherwise the CPU is
    // left alone. True when the load chain ran.
    bool ok();
    void cancel();

private:
    void rebuild();
    // Board, box and list follow the option word after a descriptor was
    // read (or failed to open); nothing stays selected.
    void refresh_after_read(bool read);
    void take_load_debugger();
    std::optional<std::string> choose_file(bool save);
    void run_load_chain();

    DeviceSetup& setup_;
    TargetSetupHost& host_;
    std::filesystem::path program_dir_;
    uint32_t saved_option_word_;
    // The configuration as the simulator last loaded it (when the dialog
    // opened, or its own Load and Save As ran the load chain), in the
    // descriptor's words.
    std::string loaded_configuration_;
    bool load_debugger_ = false;
    int selected_ = -1;
    std::vector<std::string> lines_;
};

} // namespace torva
