// The per-port store of terminal settings.
#include "terminal/port_store.h"

namespace torva {

std::optional<TerminalSettings> PortStore::load(int port) const {
    if (port < 0 || port >= kPorts || !records_[size_t(port)].holds_settings) return std::nullopt;
    return records_[size_t(port)].settings;
}

void PortStore::save(int port, const TerminalSettings& settings) {
    if (port < 0 || port >= kPorts) return;
    records_[size_t(port)] = {true, settings};
}

void PortStore::clear() {
    for (Record& record : records_)
        record.holds_settings = false;
}

} // namespace torva
