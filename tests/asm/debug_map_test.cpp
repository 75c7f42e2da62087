// The debug map against the listing: every code line of the listing has
// exactly its address range and source line in the map, for the examples
// and for programs with includes, conditional assembly, several ORGs and
// paged addresses; the stamp ties the map to its load file.
#include "asm_fixture.h"
#include "sim/debug_map.h"

#include <algorithm>
#include <cstdlib>
#include <tuple>

namespace torva {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;

// (start, length, source text) of one line with code.
using CodeLine = std::tuple<uint32_t, uint32_t, std::string>;

std::string strip_line_end(std::string text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    return text;
}

// The listing's code lines: a hex address, code bytes (with their
// continuation lines) and the source text after "NNNN. ".
std::vector<CodeLine> listing_code_lines(const std::string& listing) {
    std::vector<CodeLine> out;
    std::istringstream in(listing);
    std::string line;
    auto count_bytes = [](const std::string& code) {
        uint32_t n = 0;
        std::istringstream groups(code);
        std::string group;
        while (groups >> group)
            n += uint32_t(group.size() / 2);
        return n;
    };
    while (std::getline(in, line)) {
        if (line.size() < 24) continue;
        const std::string address = line.substr(0, 6);
        const bool hex = address.find_first_not_of("0123456789ABCDEF") == std::string::npos;
        if (address == "      " && !out.empty() &&
            line.find_first_not_of(" 0123456789ABCDEF") == std::string::npos) {
            std::get<1>(out.back()) += count_bytes(line.substr(6, 18));
            continue;
        }
        if (!hex) continue;
        const uint32_t bytes = count_bytes(line.substr(6, 18));
        const size_t dot = line.find(". ", 24);
        if (bytes == 0 || dot == std::string::npos) continue;
        out.emplace_back(uint32_t(std::stoul(address, nullptr, 16)), bytes,
                         strip_line_end(line.substr(dot + 2)));
    }
    return out;
}

std::string file_line(const fs::path& file, int number) {
    std::ifstream in(file, std::ios::binary);
    std::string line;
    for (int i = 0; i < number && std::getline(in, line); ++i) {
    }
    return strip_line_end(line);
}

class DebugMapTest : public test::AsmFixture {
protected:
    // Assembles dir/name with the map and compares it with the listing.
    DebugMap check_against_listing(const std::string& name, const std::string& options = "") {
        const test::AsmRun r =
            run("-L -g " + options + " \"" + name + "\"", fs::path(name).stem().string());
        EXPECT_EQ(1, r.result) << r.messages();
        if (r.result != 1) return {};
        const std::string base = fs::path(name).stem().string();
        const DebugMapParse parsed = parse_debug_map(test::read_text(dir.path() / (base + ".dbg")));
        EXPECT_TRUE(parsed.map) << parsed.error;
        if (!parsed.map) return {};
        const DebugMap& map = *parsed.map;
        std::vector<CodeLine> from_map;
        for (const DebugMapRange& range : map.ranges) {
            const fs::path file = fs::path(map.files[size_t(range.file)]).is_absolute()
                                      ? fs::path(map.files[size_t(range.file)])
                                      : dir.path() / map.files[size_t(range.file)];
            from_map.emplace_back(range.start & 0xFFFFFF, range.length,
                                  file_line(file, range.line));
        }
        std::vector<CodeLine> listed = listing_code_lines(r.listing);
        std::sort(listed.begin(), listed.end());
        std::sort(from_map.begin(), from_map.end());
        EXPECT_FALSE(listed.empty());
        EXPECT_EQ(listed, from_map);
        // The load file's header carries the map's stamp.
        EXPECT_EQ(map.stamp, debug_stamp_of_record(r.srecords.substr(0, r.srecords.find('\n'))));
        return map;
    }
};

TEST_F(DebugMapTest, EveryExampleMatchesItsListing) {
    const char* root = std::getenv("TORVA_SOURCE_DIR");
    ASSERT_NE(nullptr, root);
    const fs::path include = fs::path(root) / "include/machine/rt12";
    int checked = 0;
    for (const fs::path& folder : {fs::path(root) / "examples", fs::path(root) / "examples/labs"}) {
        for (const auto& entry : fs::directory_iterator(folder)) {
            if (entry.path().extension() != ".asm") continue;
            SCOPED_TRACE(entry.path().string());
            fs::copy_file(entry.path(), dir.path() / entry.path().filename(),
                          fs::copy_options::overwrite_existing);
            check_against_listing(entry.path().filename().string(),
                                  "-I \"" + include.string() + "\"");
            ++checked;
        }
    }
    EXPECT_GE(checked, 4);
}

TEST_F(DebugMapTest, IncludesConditionsOrgsAndSymbols) {
    fs::create_directory(dir.path() / "lib");
    dir.write("lib/sub.inc", "; a routine\n"
                             "SUB   ldaa #1\n"
                             "      rts\n");
    dir.write("prog.asm", "TEN   equ 10\n"
                          "LEVEL set 1\n"
                          "#define FAST\n"
                          "      org $1000\n"
                          "MAIN  jsr SUB\n"
                          "#ifdef FAST\n"
                          "      ldab #TEN\n"
                          "#else\n"
                          "      ldab #20\n"
                          "#endif\n"
                          "      bra MAIN\n"
                          "      include \"lib/sub.inc\"\n"
                          "      org $2000\n"
                          "TABLE fcb 1,2,3,4,5,6,7,8,9,10\n"
                          "      fdb MAIN\n"
                          "BUF   rmb 4\n"
                          "      org $1800\n"
                          "      nop\n");
    const DebugMap map = check_against_listing("prog.asm");
    ASSERT_EQ(2u, map.files.size());
    EXPECT_EQ("lib/sub.inc", map.files[1]);
    EXPECT_EQ((SourcePlace{1, 2}), map.place_of(0x1008));
    EXPECT_EQ((SourcePlace{0, 7}), map.place_of(0x1004));
    EXPECT_FALSE(map.place_of(0x2010).valid()) << "reserved storage has no line";
    // The include's line as a path of this machine, beside the load file.
    const auto included = source_line_at(map, (dir.path() / "prog.s19").string(), 0x1008);
    ASSERT_TRUE(included);
    EXPECT_EQ((SourceLine{(dir.path() / "lib" / "sub.inc").lexically_normal().string(), 2}),
              *included);
    EXPECT_FALSE(source_line_at(map, (dir.path() / "prog.s19").string(), 0x2010));
    for (const DebugMapSymbol& e : {DebugMapSymbol{"TEN", SymbolKind::kEqu, 10, 0, 1},
                                    {"LEVEL", SymbolKind::kSet, 1, 0, 2},
                                    {"FAST", SymbolKind::kDefine, 0, 0, 3},
                                    {"MAIN", SymbolKind::kLabel, 0x1000, 0, 5},
                                    {"SUB", SymbolKind::kLabel, 0x1007, 1, 2},
                                    {"BUF", SymbolKind::kLabel, 0x200C, 0, 16}}) {
        const DebugMapSymbol* s = map.symbol(e.name);
        ASSERT_NE(nullptr, s) << e.name;
        EXPECT_EQ(std::tie(e.kind, e.value, e.file, e.line),
                  std::tie(s->kind, s->value, s->file, s->line))
            << e.name;
    }
    // A breakpoint asked for on a line without code lands on the next one.
    EXPECT_EQ(7, map.code_at_or_after(0, 6)->line);
    EXPECT_EQ(0x1003u, map.code_at_or_after(0, 6)->start);
    EXPECT_FALSE(map.code_at_or_after(0, 19));
}

TEST_F(DebugMapTest, PagedAddressesOfTheHcs12x) {
    dir.write("prog.asm", "      option hcs12x\n"
                          "      org $308000\n"
                          "FAR   ldaa #1\n"
                          "      rtc\n"
                          "      org $C000\n"
                          "MAIN  call $8000,$30\n"
                          "      bra MAIN\n");
    const DebugMap map = check_against_listing("prog.asm");
    EXPECT_EQ((SourcePlace{0, 3}), map.place_of(0x308000));
    EXPECT_EQ(0x308000u, map.symbol("FAR")->value);
}

TEST_F(DebugMapTest, NoMapAfterErrorsAndNoneAsked) {
    dir.write("prog.asm", " org $1000\n nop\n");
    ASSERT_EQ(1, run("-g \"prog.asm\"").result);
    ASSERT_TRUE(fs::exists(dir.path() / "prog.dbg"));
    // An assembly with errors removes the earlier map with the load file.
    dir.write("prog.asm", " org $1000\n frob\n");
    EXPECT_EQ(0, run("-g \"prog.asm\"").result);
    EXPECT_FALSE(fs::exists(dir.path() / "prog.dbg"));
    // Without -g the load file is as before: data and end records only.
    dir.write("prog.asm", " org $1000\n nop\n");
    const test::AsmRun plain = run("\"prog.asm\"");
    EXPECT_EQ('1', plain.srecords.at(1));
    EXPECT_FALSE(fs::exists(dir.path() / "prog.dbg"));
}

TEST_F(DebugMapTest, TheStampTellsAStaleMap) {
    dir.write("prog.asm", " org $1000\n nop\n");
    ASSERT_EQ(1, run("-g \"prog.asm\"").result);
    const std::string load_file = (dir.path() / "prog.s19").string();
    std::string why;
    ASSERT_TRUE(read_debug_map_for(load_file, &why)) << why;
    const std::string old_map = test::read_text(dir.path() / "prog.dbg");
    // A comment line moves the code a line down but keeps every byte.
    dir.write("prog.asm", "; moved\n org $1000\n nop\n");
    ASSERT_EQ(1, run("-g \"prog.asm\"").result);
    EXPECT_EQ(3, read_debug_map_for(load_file, &why)->ranges.at(0).line);
    dir.write("prog.dbg", old_map);
    EXPECT_FALSE(read_debug_map_for(load_file, &why));
    EXPECT_THAT(why, HasSubstr("another build"));
}

TEST(DebugMapFormat, RoundTripsAndRefusesOtherVersions) {
    DebugMap map;
    map.files = {"a b/prog.asm"};
    map.ranges = {{0x1000, 3, 0, 4}};
    map.symbols = {{"LOOP", SymbolKind::kLabel, 0x1000, 0, 4}, {"X", SymbolKind::kEqu, 5, -1, 0}};
    map.stamp = debug_map_stamp(format_debug_map_body(map));
    const DebugMapParse back = parse_debug_map(format_debug_map(map) + "future thing 1 2\n");
    ASSERT_TRUE(back.map) << back.error;
    EXPECT_EQ(format_debug_map(map), format_debug_map(*back.map));
    for (const char* bad : {"", "TORVA6-DEBUG-MAP 2\nstamp 0\n", "TORVA6-DEBUG-MAP 1\n",
                            "TORVA6-DEBUG-MAP 1\nstamp 0\ncode 1000 3 0 4\n",
                            "TORVA6-DEBUG-MAP 1\nstamp 0\nfile 0 a\nsymbol A odd 0 0 1\n"})
        EXPECT_FALSE(parse_debug_map(bad).map) << bad;
    EXPECT_EQ(0x0123456789ABCDEFull,
              debug_stamp_of_record(debug_stamp_record(0x0123456789ABCDEFull)));
    EXPECT_FALSE(debug_stamp_of_record("S00600004844521B"));
}

} // namespace
} // namespace torva
