// Path normalisation, file types by extension, access checks, whole-file
// writes and what a failed one says.
#include "editor/document_files.h"
#include "editor/safe_write.h"

#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace torva::test {
namespace {

namespace fs = std::filesystem;

TEST(DocumentFilesTest, normalise_path) {
    struct Case {
        int line;
        const char* path;
        const char* expected;
    };
    constexpr Case kCases[] = {
        {__LINE__, "/w/src/main.asm", "/w/src/main.asm"},
        {__LINE__, "\\w\\src\\main.asm", "/w/src/main.asm"}, // backslashes
        {__LINE__, "/w//src///main.asm", "/w/src/main.asm"}, // doubled separators
        {__LINE__, "/w/./src/../src/main.asm", "/w/src/main.asm"},
        {__LINE__, "C:\\work\\..\\src\\A.ASM", "C:/src/A.ASM"}, // letter case kept
        {__LINE__, "", ""},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(c.expected, normalise_path(c.path));
    }
}

TEST(DocumentFilesTest, file_type_from_the_last_extension) {
    struct Case {
        int line;
        const char* path;
        int type;
    };
    constexpr Case kCases[] = {
        {__LINE__, "/w/a.asm", 1},     {__LINE__, "/w/A.ASM", 1}, // capitals
        {__LINE__, "/w/a.S12", 1},     {__LINE__, "/w/a.c", 2},
        {__LINE__, "/w/a.H", 3},       {__LINE__, "/w/a.lsc", 4},
        {__LINE__, "/w/a.adb", 10},    {__LINE__, "/w/a.ads", 11},
        {__LINE__, "/w/a.txt", 0},     {__LINE__, "/w/noext", 0},
        {__LINE__, "/w/a.c.asm", 1},   // only the last extension counts
        {__LINE__, "/w/a.asm\" x", 1}, // cut at a double quote
        {__LINE__, "/w/a.asmx", 0},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(c.type, file_type_of(c.path));
    }
}

TEST(DocumentFilesTest, backup_sits_beside_the_file_with_tildes) {
    EXPECT_EQ("/w/src/~main.asm~", backup_path_for("/w/src/main.asm"));
}

TEST(DocumentFilesTest, access_of_missing_read_only_and_writable_files) {
    TempDir temp;
    const std::string file = temp.write("a.asm", "x");
    EXPECT_EQ(Access::writable, check_access(file));
    EXPECT_EQ(Access::missing, check_access((temp.path() / "none.asm").string()));
    fs::permissions(file, fs::perms::owner_read | fs::perms::group_read);
    EXPECT_EQ(Access::read_only, check_access(file));
}

TEST(DocumentFilesTest, whole_writes_keep_every_byte_and_replace_the_old_file) {
    TempDir temp;
    const std::string to = temp.write("to", "old text that is longer than some of the writes");
    static constexpr long kPiece = 7; // small pieces: every boundary case in a few bytes
    for (long size : {0L, 1L, kPiece - 1, kPiece, kPiece + 1, 3 * kPiece + 5}) {
        SCOPED_TRACE(size);
        std::string bytes;
        for (long i = 0; i < size; ++i)
            bytes.push_back(static_cast<char>(i * 7 + 3)); // zero bytes, CR and LF among them
        int pieces = 0;
        const WriteOutcome outcome =
            write_whole(to, size, kPiece, [&bytes, &pieces](long start, long end, char* into) {
                EXPECT_LE(end - start, kPiece);
                bytes.copy(into, static_cast<size_t>(end - start), static_cast<size_t>(start));
                ++pieces;
            });
        EXPECT_TRUE(outcome.ok()) << outcome.reason;
        EXPECT_EQ((size + kPiece - 1) / kPiece, pieces);
        EXPECT_EQ(bytes, read_raw(to).value_or("?"));
    }
    // A link stays a link; the file it names gets the bytes.
    fs::create_symlink("to", temp.path() / "link");
    EXPECT_TRUE(write_whole((temp.path() / "link").string(), "linked").ok());
    EXPECT_TRUE(fs::is_symlink(temp.path() / "link"));
    EXPECT_EQ("linked", read_raw(to).value_or("?"));
}

TEST(DocumentFilesTest, failed_writes_say_why) {
    using Failure = WriteOutcome::Failure;
    EXPECT_EQ("Can't write to file '/w/a.asm', is file write protected?",
              write_failure_text("/w/a.asm", {Failure::write_protected, "Permission denied"}));
    EXPECT_EQ("Can't write to file '/w/a.asm': No space left on device",
              write_failure_text("/w/a.asm", {Failure::system, "No space left on device"}));

    TempDir temp;
    const WriteOutcome into_directory = write_whole(temp.path().string(), "x");
    EXPECT_EQ(Failure::write_protected, into_directory.failure);
    const WriteOutcome nowhere = write_whole((temp.path() / "none" / "a.asm").string(), "x");
    EXPECT_EQ(Failure::system, nowhere.failure);
    EXPECT_EQ("No such file or directory", nowhere.reason);
}

} // namespace
} // namespace torva::test
