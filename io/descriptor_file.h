// Target descriptor files (".hc12sim"): the devices of the connection slots
// and the board option word, saved as ":iotarget:" lines and one ":emul:"
// line, and read back.
#pragma once

#include "io/device_setup.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace torva {

// One counted line of a descriptor, split into its fields. Field 0 is the
// word after the leading colon ("iotarget", "iosim", "emul").
struct DescriptorLine {
    std::vector<std::string> fields;
};

// The fields of a line that begins with a colon; nothing for any other line.
// The line ends at its first character below 32; fields 1 to 4 keep at most
// 15 characters, field 5 at most 63.
std::optional<DescriptorLine> split_descriptor_line(std::string_view line);

// The text a descriptor file holds for the current slots and option word.
std::string descriptor_text(DeviceSetup& setup);

// Opens and binds the devices a descriptor text names and takes its option
// word. Lines naming a row outside the board's table, a row already taken, or
// with malformed numbers are skipped.
void apply_descriptor_text(DeviceSetup& setup, std::string_view text);

// Closes every device, then reads a descriptor file and makes it the current
// one. False (after "Can't open '%s'") when the file cannot be opened; an
// empty path does nothing and gives false.
bool read_descriptor(DeviceSetup& setup, const std::string& path);

// Writes the descriptor file; false after "Can't create '%s'".
bool save_descriptor(DeviceSetup& setup, const std::string& path);

// The board's configuration directory: <program dir>/../config/kiv12, normalised.
std::filesystem::path config_directory(const std::filesystem::path& program_dir);
// "rt12.hc12sim" for the bus board, "rt12s.hc12sim" for the bare board, in
// the configuration directory.
std::filesystem::path default_descriptor_path(const std::filesystem::path& program_dir,
                                              BoardKind board);

} // namespace torva
