// Watch rows survive the settings store: every format round-trips, and a
// damaged store loses only the lines it cannot read.
#include "sim/watch_rows_text.h"

#include <gtest/gtest.h>

namespace torva {
namespace {

struct Shown {
    std::string expression;
    WatchFormat format;
    int count;
    bool operator==(const Shown&) const = default;
};

std::vector<Shown> shown(const std::vector<WatchRow>& rows) {
    std::vector<Shown> out;
    for (const WatchRow& row : rows)
        out.push_back({row.expression, row.format, row.count});
    return out;
}

TEST(WatchRowsText, EveryFormatRoundTrips) {
    std::vector<WatchRow> rows;
    int count = 1;
    for (const WatchFormatName& f : watch_formats()) {
        WatchRow row;
        row.expression = "BUFFER+" + std::to_string(count);
        row.format = f.format;
        row.count = f.counted ? ++count : 1;
        row.value = "stale value"; // values are read again, never stored
        rows.push_back(row);
    }
    const std::string text = format_watch_rows(rows);
    EXPECT_EQ(std::string::npos, text.find("stale"));
    EXPECT_EQ(shown(rows), shown(parse_watch_rows(text)));
    EXPECT_EQ("X\thex word\t1\n", format_watch_rows(std::vector<WatchRow>{
                                      {"X", WatchFormat::kHexWord, 1, "", false, ""}}));
}

TEST(WatchRowsText, UnreadableLinesAreSkipped) {
    const struct {
        const char* text;
        std::vector<Shown> rows;
    } cases[] = {
        {"", {}},
        {"garbage", {}},
        {"\n\n\t\t\n", {}},
        {"A\thex byte\t1", {{"A", WatchFormat::kHexByte, 1}}},
        {"A\tno such format\t1\nB\thex byte\t1\n", {{"B", WatchFormat::kHexByte, 1}}},
        {"S\tstring\t0\nS\tstring\t65\nS\tstring\t8x\nS\tstring\t-1\nS\tstring\t64\n",
         {{"S", WatchFormat::kString, 64}}},
        // A count on a format without one is dropped.
        {"Y\tsigned word\t9", {{"Y", WatchFormat::kSignedWord, 1}}},
        {"\thex byte\t1\nPC\thex word\t1\textra", {}},
        {"\xff\xfe\thex byte\t1", {{"\xff\xfe", WatchFormat::kHexByte, 1}}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.rows, shown(parse_watch_rows(c.text))) << '"' << c.text << '"';
}

TEST(WatchRowsText, ExpressionsThatWouldBreakTheLinesAreLeftOut) {
    std::vector<WatchRow> rows(3);
    rows[0].expression = "A\tB";
    rows[1].expression = "C\nD";
    rows[2].expression = "TABLE";
    EXPECT_EQ("TABLE\thex byte\t1\n", format_watch_rows(rows));
}

} // namespace
} // namespace torva
