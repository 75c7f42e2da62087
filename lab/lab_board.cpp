// Setting up the board of a lab run.
#include "lab/lab_board.h"

#include "io/board_option.h"
#include "io/descriptor_file.h"

#include <fstream>

namespace torva::lab {

bool set_up_board(SimulatedBoard& simulated, const Lab& lab,
                  const std::filesystem::path& program_dir, std::string& why) {
    Board& board = simulated.board();
    DeviceSetup& setup = board.setup();
    simulated.simulator().window_created();
    const std::filesystem::path descriptor =
        lab.target.empty() ? default_descriptor_path(program_dir, lab.board) : lab.target;
    // The descriptor reader reports a file it cannot open only as a box.
    if (!std::ifstream(descriptor)) {
        why = "can't open the board descriptor '" + descriptor.string() + "'";
        return false;
    }
    read_descriptor(setup, descriptor.string());
    for (const DeviceChoice& choice : lab.devices) {
        const int row = place_row(*choice.place, setup.board());
        const std::string name(choice.place->name);
        if (row < 0) {
            why = name + " is not a place of this board";
            return false;
        }
        // The descriptor may connect the same device already.
        if (setup.row_value(row) >= 0) {
            const int slot = setup.slot_of_handle(setup.row_value(row));
            const int32_t type =
                choice.type != 0 ? choice.type : device_rows(setup.board())[size_t(row)].type;
            if (slot >= 0 && setup.connection_slots()[size_t(slot)].type == type) continue;
            why = "cannot connect " + name + ": the board descriptor connects another device there";
            return false;
        }
        if (setup.connect_row(row, choice.type) < 0) {
            why = "cannot connect " + name + ": its place is taken by another device";
            return false;
        }
    }
    if (lab.monitor) setup.set_option_word(setup.option_word() | board_option::kLoadMonitor);
    setup.commit();
    return true;
}

} // namespace torva::lab
