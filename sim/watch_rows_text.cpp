// Watch rows to and from their stored text.
#include "sim/watch_rows_text.h"

#include <charconv>

namespace torva {

std::string format_watch_rows(std::span<const WatchRow> rows) {
    std::string text;
    for (const WatchRow& row : rows) {
        if (row.expression.empty() || row.expression.find_first_of("\t\r\n") != std::string::npos)
            continue;
        for (const WatchFormatName& f : watch_formats()) {
            if (f.format != row.format) continue;
            text += row.expression + '\t' + std::string(f.name) + '\t' +
                    std::to_string(f.counted ? row.count : 1) + '\n';
        }
    }
    return text;
}

namespace {

// The next tab-separated field of a line.
std::string_view next_field(std::string_view& line) {
    const size_t tab = std::min(line.find('\t'), line.size());
    const std::string_view field = line.substr(0, tab);
    line.remove_prefix(std::min(tab + 1, line.size()));
    return field;
}

} // namespace

std::vector<WatchRow> parse_watch_rows(std::string_view text) {
    std::vector<WatchRow> rows;
    while (!text.empty()) {
        const size_t end = std::min(text.find('\n'), text.size());
        std::string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        if (line.find('\t') == std::string_view::npos) continue;
        const std::string_view expression = next_field(line);
        const std::string_view format = next_field(line);
        const std::string_view count_text = line;
        int count = 0;
        const auto [stop, error] =
            std::from_chars(count_text.data(), count_text.data() + count_text.size(), count);
        if (expression.empty() || error != std::errc() ||
            stop != count_text.data() + count_text.size() || count < 1 ||
            count > WatchList::kMaxCount)
            continue;
        for (const WatchFormatName& f : watch_formats()) {
            if (f.name != format) continue;
            WatchRow row;
            row.expression = std::string(expression);
            row.format = f.format;
            row.count = f.counted ? count : 1;
            rows.push_back(std::move(row));
        }
    }
    return rows;
}

} // namespace torva
