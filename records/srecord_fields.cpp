// Splitting an S-record line into its type, address and data bytes.
#include "records/srecord_fields.h"

#include "records/srecord_writer.h"

namespace torva {

namespace {

int hex_digit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

std::string_view trim_line_end(std::string_view line) {
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n' || line.back() == ' ' ||
                             line.back() == '\t'))
        line.remove_suffix(1);
    return line;
}

} // namespace

std::optional<uint32_t> parse_hex_field(std::string_view line, size_t pos, size_t digits) {
    if (pos + digits > line.size()) return std::nullopt;
    uint32_t value = 0;
    for (size_t i = 0; i < digits; ++i) {
        const int d = hex_digit(line[pos + i]);
        if (d < 0) return std::nullopt;
        value = value << 4 | uint32_t(d);
    }
    return value;
}

SrecordFields srecord_fields(std::string_view raw) {
    SrecordFields fields;
    const std::string_view line = trim_line_end(raw);
    if (line.empty()) return fields;
    if (line[0] != 'S' || line.size() < 4) {
        fields.kind = SrecordFields::Kind::kMalformed;
        return fields;
    }
    fields.kind = SrecordFields::Kind::kRecord;
    fields.type = line[1];
    const size_t digits = size_t(srecord_address_digits(fields.type));
    if (digits == 0) return fields;
    fields.address = parse_hex_field(line, 4, digits);
    const bool data_record = fields.type >= '1' && fields.type <= '3';
    if (!data_record || !fields.address) return fields;
    for (size_t pos = 4 + digits; pos + 4 <= line.size(); pos += 2) {
        const auto byte = parse_hex_field(line, pos, 2);
        if (!byte) break;
        fields.data.push_back(uint8_t(*byte));
    }
    return fields;
}

} // namespace torva
