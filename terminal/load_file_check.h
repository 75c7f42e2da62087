// The look at a load file before it goes to the board: the lines the
// download will send, and the first line a loader would refuse, so that a
// broken file is not sent unasked.
#pragma once

#include "records/srecord_fields.h"

#include <istream>
#include <string_view>

namespace torva {

// A download sends lines up to this long; the rest of a longer line is
// dropped (such a line is no record, and the check reports it).
inline constexpr size_t kMaxDownloadLine = kMaxRecordLine;

// True for a line the download does not send and that ends it: the
// assembler's debug records "SX...".
bool ends_download(std::string_view line);

struct LoadFileCheck {
    int lines = 0;      // lines the download will send (those before an "SX" line)
    int error_line = 0; // one-based line of the first error, 0 for none
};

// Reads the file from where it stands to its end by the rules of both
// loaders that may take it, the simulator's and the board's monitor's:
// blank lines are allowed, every other line is a record of type 0 to 3 or
// 7 to 9 whose data records have a hexadecimal address; data and end
// records are hexadecimal pairs throughout with a count that matches and
// a checksum that adds up. What follows the end record is not checked
// (neither loader reads it), and nothing from the first "SX" line on is
// looked at (it is not sent).
LoadFileCheck check_load_file(std::istream& file);

} // namespace torva
