// Start-up directories, the command-line token, and the message-box texts.
#include "shell/directories.h"
#include "shell/message_service.h"
#include "shell/startup.h"

#include "support/temp_dir.h"

#include <QDir>

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace torva {
namespace {

TEST(DirectoriesTest, first_token_of_a_command_line) {
    struct Case {
        int line;
        std::string command_line;
        std::string token;
    };
    const Case cases[] = {
        {__LINE__, "", ""},
        {__LINE__, "   ", ""},
        {__LINE__, "/w/prog.asm", "/w/prog.asm"},
        {__LINE__, "/w/dir other", "/w/dir"},
        {__LINE__, "  /w/dir", "/w/dir"},     // leading blanks skipped
        {__LINE__, "\"/a b/c\" d", "/a b/c"}, // quoted: without the quotes
        {__LINE__, "\"/a b/unclosed", "/a b/unclosed"},
        {__LINE__, "/w/x\t/y", "/w/x"}, // a control character ends it
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(c.token, first_token(c.command_line));
    }
}

class SettleTest : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = fs::current_path();
        fs::create_directories(root_.path() / "bin");
        fs::create_directories(root_.path() / "home");
        fs::create_directories(root_.path() / "project dir");
    }
    void TearDown() override { fs::current_path(saved_); }

    std::string canonical(const std::string& leaf) const {
        return fs::canonical(root_.path() / leaf).generic_string() + "/";
    }

    test::TempDir root_;
    fs::path saved_;
};

TEST_F(SettleTest, directories_from_program_home_and_command_line) {
    struct Case {
        int line;
        std::string command_line;
        std::string home;
        std::string start_leaf;
    };
    const std::string project = (root_.path() / "project dir").string();
    const std::string home = (root_.path() / "home").string();
    const Case cases[] = {
        {__LINE__, "", home, "home"},                                 // no argument: home
        {__LINE__, "\"" + project + "\"", home, "project dir"},       // a directory argument
        {__LINE__, root_.path().string() + "/missing", home, "home"}, // neither: home
        {__LINE__, root_.write("x.txt", "x"), home, "home"},          // a file: home
        {__LINE__, "", "", "bin"},                                    // no home: program dir
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        Directories dirs;
        const std::string program = (root_.path() / "bin" / "torva6").string();
        ASSERT_TRUE(settle_directories(dirs, program, c.home, c.command_line));
        EXPECT_EQ(canonical(c.start_leaf), dirs.start_dir);
        EXPECT_EQ(dirs.start_dir, dirs.source_dialog_dir);
        EXPECT_EQ(fs::canonical(root_.path() / c.start_leaf), fs::current_path());
        EXPECT_EQ((root_.path() / "doc" / "Torva6_RT12.html").lexically_normal().string(),
                  dirs.help_file);
        EXPECT_TRUE(dirs.load_dialog_dir.empty());
    }
}

TEST_F(SettleTest, an_unreadable_program_path_is_reported) {
    Directories dirs;
    EXPECT_FALSE(settle_directories(dirs, "", (root_.path() / "home").string(), ""));
    EXPECT_EQ(canonical("home"), dirs.start_dir);
}

TEST_F(SettleTest, command_line_resolves_relative_arguments_against_the_launch_dir) {
    root_.write("project dir/prog.asm", "");
    const QString launch = QString::fromStdString(root_.path().string());
    std::string quoted = (root_.path() / "project dir" / "prog.asm").generic_string();
    quoted.insert(quoted.begin(), '"');
    quoted.push_back('"');
    EXPECT_EQ(quoted, command_line_from({QStringLiteral("project dir/prog.asm")}, launch));
    // Names that do not exist stay as typed.
    EXPECT_EQ("nothing.asm", command_line_from({QStringLiteral("nothing.asm")}, launch));
    EXPECT_EQ("", command_line_from({}, launch));
}

TEST(MessageTextTest, format_and_argument_rules) {
    struct Case {
        int line;
        std::optional<std::string> format;
        std::optional<std::string> argument;
        std::string text;
    };
    const Case cases[] = {
        {__LINE__, "File '%s', Don't recognise the file type...", "a.txt",
         "File 'a.txt', Don't recognise the file type..."},
        {__LINE__, std::nullopt, "just the argument", "just the argument"},
        {__LINE__, "just the format", std::nullopt, "just the format"},
        {__LINE__, "'%s' and %s", "%s", "'%s' and %s"}, // an argument is never filled again
        {__LINE__, std::nullopt, std::nullopt, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(c.text, box_text(c.format, c.argument));
    }
}

} // namespace
} // namespace torva
