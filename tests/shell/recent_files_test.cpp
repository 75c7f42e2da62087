// Recent files: the move-to-front rule, normalised paths and the MRU values
// in the settings store.
#include "shell/recent_files.h"

#include <QSettings>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace torva {
namespace {

std::vector<std::string> slot_paths(const RecentFiles& recent) {
    std::vector<std::string> out;
    for (int i = 0; i < RecentFiles::kSlots; ++i)
        out.push_back(recent.at(i).value_or(""));
    return out;
}

QSettings store() {
    return QSettings(QStringLiteral("Vardel"), QStringLiteral("TORVA6_RT12"));
}

class RecentFilesTest : public ::testing::Test {
protected:
    void SetUp() override { store().clear(); }
};

TEST_F(RecentFilesTest, seven_opens_keep_the_six_newest) {
    RecentFiles recent;
    for (int i = 1; i <= 7; ++i)
        recent.add("/w/f" + std::to_string(i) + ".asm");
    EXPECT_EQ((std::vector<std::string>{"/w/f7.asm", "/w/f6.asm", "/w/f5.asm", "/w/f4.asm",
                                        "/w/f3.asm", "/w/f2.asm"}),
              slot_paths(recent));
}

TEST_F(RecentFilesTest, opening_again_moves_the_entry_to_the_top) {
    struct Case {
        int line;
        std::string again;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {__LINE__, "/w/c.asm", {"/w/c.asm", "/w/d.asm", "/w/b.asm", "/w/a.asm", "", ""}},
        {__LINE__, "/w/a.asm", {"/w/a.asm", "/w/d.asm", "/w/c.asm", "/w/b.asm", "", ""}},
        {__LINE__, "/w/d.asm", {"/w/d.asm", "/w/c.asm", "/w/b.asm", "/w/a.asm", "", ""}},
        {__LINE__, "\\w\\b.asm", {"/w/b.asm", "/w/d.asm", "/w/c.asm", "/w/a.asm", "", ""}},
        {__LINE__, "/w/x/../c.asm", {"/w/c.asm", "/w/d.asm", "/w/b.asm", "/w/a.asm", "", ""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        RecentFiles recent;
        for (const char* path : {"/w/a.asm", "/w/b.asm", "/w/c.asm", "/w/d.asm"})
            recent.add(path);
        recent.add(c.again);
        EXPECT_EQ(c.expected, slot_paths(recent));
    }
}

TEST_F(RecentFilesTest, paths_are_stored_with_forward_slashes) {
    struct Case {
        int line;
        std::string typed;
        std::string stored;
    };
    const Case cases[] = {
        {__LINE__, "C:\\work\\prog.asm", "C:/work/prog.asm"},
        {__LINE__, "/home/u/./src/../prog.asm", "/home/u/prog.asm"},
        {__LINE__, "/home/u//prog.asm", "/home/u/prog.asm"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(c.stored, RecentFiles::normalise(c.typed));
    }
    RecentFiles recent;
    recent.add("C:\\work\\prog.asm");
    recent.add("C:/work/prog.asm");
    EXPECT_EQ(1, recent.filled());
}

TEST_F(RecentFilesTest, store_and_load_round_trip_and_keep_older_values) {
    {
        RecentFiles earlier;
        for (int i = 1; i <= 6; ++i)
            earlier.add("/old/f" + std::to_string(i) + ".asm");
        earlier.store();
    }
    RecentFiles later;
    later.add("/new/one.asm");
    later.add("/new/two.asm");
    later.store(); // writes MRU0 and MRU1 only

    RecentFiles loaded;
    loaded.load();
    EXPECT_EQ((std::vector<std::string>{"/new/two.asm", "/new/one.asm", "/old/f4.asm",
                                        "/old/f3.asm", "/old/f2.asm", "/old/f1.asm"}),
              slot_paths(loaded));
    EXPECT_EQ(QStringLiteral("/new/two.asm"), store().value(QStringLiteral("MRU0")).toString());
}

TEST_F(RecentFilesTest, missing_values_load_as_empty_slots) {
    store().setValue(QStringLiteral("MRU2"), QStringLiteral("/only/two.asm"));
    RecentFiles recent;
    recent.load();
    EXPECT_EQ((std::vector<std::string>{"", "", "/only/two.asm", "", "", ""}), slot_paths(recent));
    EXPECT_FALSE(recent.at(-1));
    EXPECT_FALSE(recent.at(6));
}

TEST(RecentFilesMenuTextTest, long_paths_keep_their_head_and_file_name) {
    const std::string fits = "/home/student/labs/lab3/main.asm";
    EXPECT_EQ(fits, RecentFiles::menu_text(fits));
    EXPECT_EQ("/home/.../hcs12/labs/lab3/projects/final/version2/main.asm",
              RecentFiles::menu_text(
                  "/home/student/courses/hcs12/labs/lab3/projects/final/version2/main.asm"));

    // 10,000 characters of directories: one screen-wide entry, name intact.
    std::string deep = "/home";
    while (deep.size() < 10'000)
        deep += "/" + std::string(40, 'd');
    const std::string text = RecentFiles::menu_text(deep + "/blink.asm");
    EXPECT_LE(text.size(), RecentFiles::kMenuWidth);
    EXPECT_EQ(0u, text.find("/home/..."));
    EXPECT_TRUE(text.ends_with("/blink.asm")) << text;

    // A file name longer than the width stays whole; so does a name alone.
    const std::string name = std::string(200, 'n') + ".asm";
    EXPECT_EQ(".../" + name, RecentFiles::menu_text(deep + "/" + name));
    EXPECT_EQ(name, RecentFiles::menu_text(name));
    EXPECT_EQ("C:/.../x/y.asm", RecentFiles::menu_text("C:/" + std::string(70, 'a') + "/x/y.asm"));
}

} // namespace
} // namespace torva
