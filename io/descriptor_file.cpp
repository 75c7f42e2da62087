// Writing and reading target descriptor files.
#include "io/descriptor_file.h"

#include "records/text_lines.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace torva {

namespace {

constexpr size_t kMaxNumberField = 15;
constexpr size_t kMaxNameField = 63;
constexpr size_t kNameField = 5;
// A descriptor line holds at most some hundred characters; anything beyond
// this is cut off as it is read, so no line can grow without bound.
constexpr size_t kMaxLine = 1024;

// A whole field as a signed decimal number; nothing for anything else.
std::optional<int32_t> number(const DescriptorLine& line, size_t field) {
    if (field >= line.fields.size()) return std::nullopt;
    const std::string& text = line.fields[field];
    const char* first = text.data();
    const char* last = text.data() + text.size();
    if (first != last && *first == '+') ++first;
    int32_t value = 0;
    const auto [end, error] = std::from_chars(first, last, value);
    if (error != std::errc() || end != last || first == last) return std::nullopt;
    return value;
}

struct DeviceLine {
    int32_t type;
    int32_t option;
    uint32_t base;
    int32_t row;
    std::string address_text;
};

std::optional<DeviceLine> device_line(const DescriptorLine& line, bool named) {
    const auto type = number(line, 1);
    const auto option = number(line, 2);
    const auto base = number(line, 3);
    const auto row = number(line, 4);
    if (!type || !option || !base || !row) return std::nullopt;
    DeviceLine device{*type, *option, uint32_t(*base), *row, {}};
    if (named && line.fields.size() > kNameField) device.address_text = line.fields[kNameField];
    return device;
}

// An ":iotarget:" line: the device goes to its row of the selected board's
// table. A row outside the table (or one that cannot take a device now) is
// rejected: a device without a row would live on with no row to show or
// disconnect it.
void open_target(DeviceSetup& setup, const DeviceLine& device) {
    if (!setup.can_bind(device.row)) return;
    const int slot =
        setup.open_device(device.row, device.type, device.base, device.option, device.address_text);
    if (slot >= 0) setup.bind(device.row, setup.connection_slots()[size_t(slot)].handle);
}

// An ":iosim:" line: a device for the external bus window, not in the table.
void open_range_device(DeviceSetup& setup, const DeviceLine& device) {
    setup.open_device(device.row, device.type, device.base, device.option, "");
}

bool slot_free(const DeviceSetup& setup) {
    return std::ranges::any_of(setup.connection_slots(),
                               [](const ConnectionSlot& slot) { return !slot.used(); });
}

// The counted lines of a descriptor.
std::vector<DescriptorLine> descriptor_lines(std::istream& in) {
    std::vector<DescriptorLine> lines;
    LineReader reader(in, kMaxLine);
    for (std::string line; reader.next(line);)
        if (auto split = split_descriptor_line(line)) lines.push_back(std::move(*split));
    return lines;
}

void apply_descriptor_lines(DeviceSetup& setup, const std::vector<DescriptorLine>& lines) {
    // The board decides which table the row numbers refer to, but the file
    // names it last: take the option word before opening any device.
    for (const DescriptorLine& line : lines)
        if (line.fields[0] == "emul")
            if (const auto word = number(line, 1)) setup.set_option_word(uint32_t(*word) & 3);

    // Devices beyond the last free slot are counted, not tried one by one:
    // the message appears once however many lines the file holds.
    int left_out = 0;
    for (const DescriptorLine& line : lines) {
        const std::string& word = line.fields[0];
        const bool target = word == "iotarget";
        if (!target && word != "iosim") continue;
        const auto device = device_line(line, target);
        if (!device || (target && !setup.can_bind(device->row))) continue;
        if (!slot_free(setup)) {
            ++left_out;
        } else if (target) {
            open_target(setup, *device);
        } else {
            open_range_device(setup, *device);
        }
    }
    if (left_out > 0)
        setup.show(format_message(setup_message::kTooManyDevices, DeviceSetup::kSlotCount) + "\n" +
                   format_message(setup_message::kDevicesLeftOut, left_out));
}

} // namespace

std::optional<DescriptorLine> split_descriptor_line(std::string_view line) {
    if (line.empty() || line.front() != ':') return std::nullopt;
    const auto end = std::find_if(line.begin(), line.end(),
                                  [](char c) { return static_cast<unsigned char>(c) < 32; });
    line = line.substr(1, size_t(end - line.begin()) - 1);
    DescriptorLine result;
    while (true) {
        const size_t colon = line.find(':');
        std::string_view field = line.substr(0, colon);
        const size_t index = result.fields.size();
        if (index >= 1 && index <= 4) field = field.substr(0, kMaxNumberField);
        if (index == kNameField) field = field.substr(0, kMaxNameField);
        result.fields.emplace_back(field);
        if (colon == std::string_view::npos) break;
        line.remove_prefix(colon + 1);
    }
    return result;
}

std::string descriptor_text(DeviceSetup& setup) {
    std::string text;
    char buffer[128];
    for (const ConnectionSlot& slot : setup.connection_slots()) {
        if (!slot.used()) continue;
        const int option = int(setup.library().GetOptionSim(slot.handle));
        // The file's row numbers refer to the table of the board it names.
        // A device bound to the other board's table (left behind by a board
        // switch not yet confirmed) is no part of it; a device for the bus
        // window, bound to no row, keeps its own kind of line.
        if (setup.row_value(slot.board, slot.row) != slot.handle) {
            std::snprintf(buffer, sizeof buffer, ":iosim:%d:%d:%d:%d:\n", int(slot.type), option,
                          int(slot.base), int(slot.row));
            text += buffer;
            continue;
        }
        if (slot.board != setup.board()) continue;
        std::snprintf(buffer, sizeof buffer, ":iotarget:%d:%d:%d:%d:", int(slot.type), option,
                      int(slot.base), int(slot.row));
        text += buffer;
        text += slot.name;
        text += ":\n";
    }
    std::snprintf(buffer, sizeof buffer, ":emul:%d\n", int(setup.option_word()));
    text += buffer;
    return text;
}

void apply_descriptor_text(DeviceSetup& setup, std::string_view text) {
    std::istringstream stream{std::string(text)};
    apply_descriptor_lines(setup, descriptor_lines(stream));
}

bool read_descriptor(DeviceSetup& setup, const std::string& path) {
    if (path.empty()) return false;
    setup.close_all();
    std::ifstream file;
    if (!open_regular_file(path, file)) {
        setup.show(format_message(setup_message::kCantOpen, path.c_str()));
        return false;
    }
    setup.set_current_descriptor(path);
    apply_descriptor_lines(setup, descriptor_lines(file));
    setup.commit();
    return true;
}

bool save_descriptor(DeviceSetup& setup, const std::string& path) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (file) file << descriptor_text(setup);
    if (!file) {
        setup.show(format_message(setup_message::kCantCreate, path.c_str()));
        return false;
    }
    return true;
}

std::filesystem::path config_directory(const std::filesystem::path& program_dir) {
    return (program_dir / ".." / "config" / "kiv12").lexically_normal();
}

std::filesystem::path default_descriptor_path(const std::filesystem::path& program_dir,
                                              BoardKind board) {
    return config_directory(program_dir) /
           (board == BoardKind::kBare ? "rt12s.hc12sim" : "rt12.hc12sim");
}

} // namespace torva
