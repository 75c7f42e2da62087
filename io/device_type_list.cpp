// Reading the device library's list of device types.
#include "io/device_type_list.h"

#include <algorithm>
#include <charconv>
#include <vector>

namespace torva {

namespace {

// A leading decimal number after optional blanks, as "%d" reads it.
std::optional<int32_t> leading_number(std::string_view text) {
    const size_t start = text.find_first_not_of(" \t");
    if (start == std::string_view::npos) return std::nullopt;
    int32_t value = 0;
    const char* first = text.data() + start;
    if (*first == '+') ++first;
    const auto [end, error] = std::from_chars(first, text.data() + text.size(), value);
    if (error != std::errc() || end == first) return std::nullopt;
    return value;
}

// The next tab-separated field of a record, moving past its tab.
std::string_view next_field(std::string_view& rest) {
    const size_t tab = rest.find('\t');
    const std::string_view field = rest.substr(0, tab);
    rest = tab == std::string_view::npos ? std::string_view() : rest.substr(tab + 1);
    return field;
}

std::string_view trimmed(std::string_view text) {
    const size_t start = text.find_first_not_of(" ");
    if (start == std::string_view::npos) return {};
    const size_t end = text.find_last_not_of(" ");
    return text.substr(start, end - start + 1);
}

} // namespace

void DeviceTypeList::parse(std::string_view text) {
    entries_ = {};
    text = text.substr(0, text.find('\0'));
    while (!text.empty()) {
        const size_t cr = text.find('\r');
        std::string_view rest = text.substr(0, cr);
        text = cr == std::string_view::npos ? std::string_view() : text.substr(cr + 1);

        const auto type = leading_number(next_field(rest));
        const std::string_view name = trimmed(next_field(rest));
        const auto size = leading_number(next_field(rest));
        if (!type || !size || name.empty() || *type < 0 || *type >= kMaxTypes) continue;
        DeviceTypeEntry& entry = entries_[size_t(*type)];
        entry.known = true;
        entry.name = name.substr(0, kMaxName);
        entry.size = std::max<int32_t>(*size, 0);
        entry.description = rest.substr(0, kMaxDescription);
    }
}

void DeviceTypeList::fetch(IoSimLibrary& library) {
    if (fetched_) return;
    fetched_ = true;
    const int32_t size = library.QueryIOListSize();
    if (size < 1) return;
    std::vector<char> buffer(size_t(size), '\0');
    library.GetIOList(buffer);
    buffer.back() = '\0';
    parse(std::string_view(buffer.data(), buffer.size()));
}

const DeviceTypeEntry* DeviceTypeList::find(int32_t type) const {
    if (type < 0 || type >= kMaxTypes || !entries_[size_t(type)].known) return nullptr;
    return &entries_[size_t(type)];
}

int32_t DeviceTypeList::size(int32_t type) const {
    const DeviceTypeEntry* entry = find(type);
    return entry ? entry->size : 0;
}

} // namespace torva
