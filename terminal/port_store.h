// The terminal settings of the first eight ports, kept for the rest of the
// run when a port's window closes, so that reopening the port restores
// them. Held in memory only; ports above the eighth keep nothing.
#pragma once

#include "terminal/terminal_settings.h"

#include <array>
#include <optional>

namespace torva {

class PortStore {
public:
    static constexpr int kPorts = 8;

    // The settings saved for port (zero-based), or none: no record holds
    // settings yet, or the port has no record.
    std::optional<TerminalSettings> load(int port) const;
    // Saves the settings into the port's record and marks it as holding
    // settings; a port without a record keeps nothing.
    void save(int port, const TerminalSettings& settings);
    // Clears every record's flag (start-up).
    void clear();

private:
    struct Record {
        bool holds_settings = false;
        TerminalSettings settings;
    };
    std::array<Record, kPorts> records_{};
};

} // namespace torva
