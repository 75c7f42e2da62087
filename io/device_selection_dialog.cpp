// The device selection dialog's logic over the device-type list.
#include "io/device_selection_dialog.h"

#include <cstdio>

namespace torva {

std::string expand_tabs(std::string_view line) {
    line = line.substr(0, line.find('\r'));
    std::string expanded;
    for (const char c : line) {
        if (c != '\t') {
            expanded.push_back(c);
            continue;
        }
        do {
            expanded.push_back(' ');
        } while (expanded.size() % 4 != 0);
    }
    return expanded;
}

DeviceSelectionDialogLogic::DeviceSelectionDialogLogic(const DeviceTypeList& types,
                                                       int32_t library_version, PortKind kind,
                                                       uint32_t address) {
    char buffer[160];
    std::snprintf(buffer, sizeof buffer, "Simulated IO Setup (IOSIMULATOR Version: %d)",
                  int(library_version));
    title_ = buffer;
    std::snprintf(buffer, sizeof buffer, "%4.4X", unsigned(address));
    address_field_ = buffer;
    for (const int32_t type : port_types(kind)) {
        const DeviceTypeEntry* entry = types.find(type);
        if (entry == nullptr) continue;
        std::snprintf(buffer, sizeof buffer, "%d\t%s\t%d\t%s", int(type), entry->name.c_str(),
                      int(entry->size), entry->description.c_str());
        lines_.push_back(expand_tabs(buffer));
    }
}

int32_t DeviceSelectionDialogLogic::select(int line) const {
    if (line < 0 || size_t(line) >= lines_.size()) return kCancelled;
    int number = 0;
    if (std::sscanf(lines_[size_t(line)].c_str(), "%d", &number) != 1) return kCancelled;
    return number;
}

} // namespace torva
