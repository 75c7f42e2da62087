// Checking a load file with the loader's rules before a download.
#include "terminal/load_file_check.h"

#include "io/text_lines.h"
#include "sim/srecord_fields.h"

#include <string>

namespace torva {

bool ends_download(std::string_view line) {
    return line.starts_with("SX");
}

namespace {

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
        if (reader.cut() || !loader_accepts(srecord_fields(line), ended))
            check.error_line = check.lines;
    }
    return check;
}

} // namespace torva
