// Checking a load file with the loader's rules before a download.
#include "terminal/load_file_check.h"

#include "records/srecord_fields.h"
#include "records/srecord_writer.h"
#include "records/text_lines.h"

#include <string>

namespace torva {

bool ends_download(std::string_view line) {
    return line.starts_with("SX");
}

namespace {

// The board's monitor writes a data record, or ends the load with an end
// record, only when the record checks out; otherwise it answers "Checksum
// error" and the bytes are lost. A record checks out when everything after
// the type is pairs of hexadecimal digits (nothing else, not even blanks),
// the count byte says how many pairs follow it, there is room for the
// address and the checksum, and all its bytes add up to $FF.
bool record_checks_out(std::string_view line, char type) {
    const size_t address_bytes = size_t(srecord_address_digits(type)) / 2;
    const std::string_view digits = line.substr(2);
    if (digits.size() % 2 != 0) return false;
    const size_t bytes = digits.size() / 2;
    unsigned sum = 0;
    for (size_t i = 0; i < bytes; ++i) {
        const auto byte = parse_hex_field(digits, 2 * i, 2);
        if (!byte) return false;
        sum += *byte;
    }
    const auto count = parse_hex_field(digits, 0, 2);
    return count && *count + 1 == bytes && *count > address_bytes && (sum & 0xFF) == 0xFF;
}

// Whether the loader takes the line, and whether it ends the load.
bool loader_accepts(const SrecordFields& fields, bool& end) {
    using Kind = SrecordFields::Kind;
    if (fields.kind == Kind::kBlank) return true;
    if (fields.kind == Kind::kMalformed) return false;
    switch (fields.type) {
    case '0': return true;
    case '1':
    case '2':
    case '3': return fields.address.has_value();
    case '7':
    case '8':
    case '9': end = true; return true;
    default: return false;
    }
}

// Whether both the simulator's loader and the board's monitor take the line.
bool line_is_sound(std::string_view line, bool& end) {
    const SrecordFields fields = srecord_fields(line);
    if (!loader_accepts(fields, end)) return false;
    // Blank lines and headers: neither loader checks them further.
    return fields.kind == SrecordFields::Kind::kBlank || fields.type == '0' ||
           record_checks_out(line, fields.type);
}

} // namespace

LoadFileCheck check_load_file(std::istream& file) {
    LoadFileCheck check;
    LineReader reader(file, kMaxDownloadLine);
    bool ended = false;
    std::string line;
    while (reader.next(line)) {
        if (ends_download(line)) break;
        ++check.lines;
        if (ended || check.error_line != 0) continue;
        if (reader.cut() || !line_is_sound(line, ended)) check.error_line = check.lines;
    }
    return check;
}

} // namespace torva
