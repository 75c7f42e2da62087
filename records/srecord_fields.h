// The fields every reader of load files takes from one S-record line: the
// simulator's loader, the download's check and the bootstrap image builder
// read lines by the same rules.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace torva {

// The longest record (count 255: 4 + 510 digits) with room for trailing
// blanks; a longer line cannot be a record.
inline constexpr size_t kMaxRecordLine = 1024;

struct SrecordFields {
    enum class Kind {
        kBlank,     // nothing but blanks and line ends: carries nothing
        kRecord,    // "S", a type character and two count characters at least
        kMalformed, // anything else
    };
    Kind kind = Kind::kBlank;
    char type = 0;
    // The address field of a type that has one, when it is hexadecimal.
    std::optional<uint32_t> address;
    // Data records (types 1 to 3) with a readable address: every hexadecimal
    // pair behind the address but the last one (the checksum). A pair that
    // is not hexadecimal ends the data. The count field is not used.
    std::vector<uint8_t> data;
};

// Reads one line (with or without its line end). Digits of either case.
SrecordFields srecord_fields(std::string_view line);

// The value of `digits` hexadecimal digits at pos, or none when the line is
// too short or a character is not a digit.
std::optional<uint32_t> parse_hex_field(std::string_view line, size_t pos, size_t digits);

} // namespace torva
