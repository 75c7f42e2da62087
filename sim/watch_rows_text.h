// The Watch window's rows as stored text, one row a line: the expression,
// the format's name and the count, separated by tabs; and back.
#pragma once

#include "sim/watch_list.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace torva {

// Rows whose expression holds a tab or a line break are left out (no
// expression the window takes has one).
std::string format_watch_rows(std::span<const WatchRow> rows);
// Skips every line it cannot read (an unknown format, a count outside
// 1..WatchList::kMaxCount), so a damaged store loses at most those rows.
std::vector<WatchRow> parse_watch_rows(std::string_view text);

} // namespace torva
