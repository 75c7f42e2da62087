// What the device selection dialog does, without the dialog: its title, the
// list of device types a port row offers, the address field, and the number
// its "Select" button gives.
#pragma once

#include "io/device_table.h"
#include "io/device_type_list.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace torva {

// A list line with every tab expanded to spaces up to the next multiple of
// four columns, cut at its first carriage return.
std::string expand_tabs(std::string_view line);

class DeviceSelectionDialogLogic {
public:
    static constexpr char kHeader[] = " Num   Type  Space  Description";
    static constexpr char kSelectLabel[] = "Select";
    static constexpr char kCancelLabel[] = "Cancel";
    // What the dialog gives when cancelled or with nothing to select.
    static constexpr int32_t kCancelled = -1;

    // The types offered for the port kind that the device-type list names,
    // in the order of the offer.
    DeviceSelectionDialogLogic(const DeviceTypeList& types, int32_t library_version, PortKind kind,
                               uint32_t address);

    // "Simulated IO Setup (IOSIMULATOR Version: %d)".
    const std::string& title() const { return title_; }
    // The address as "%4.4X"; the field cannot be edited.
    const std::string& address_field() const { return address_field_; }
    // One line per type: "%d\t%s\t%d\t%s" (number, name, register bytes,
    // description), tabs expanded.
    const std::vector<std::string>& lines() const { return lines_; }

    // "Select": the number at the start of the line, read as "%d" reads it;
    // kCancelled for a line out of range.
    int32_t select(int line) const;

private:
    std::string title_;
    std::string address_field_;
    std::vector<std::string> lines_;
};

} // namespace torva
