// Path normalisation, file types by extension, access checks and the block
// copy of the backup.
#include "editor/document_files.h"

#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace torva::test {
namespace {

namespace fs = std::filesystem;

TEST(document_files_test, normalise_path) {
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

TEST(document_files_test, file_type_from_the_last_extension) {
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

TEST(document_files_test, backup_sits_beside_the_file_with_tildes) {
    EXPECT_EQ("/w/src/~main.asm~", backup_path_for("/w/src/main.asm"));
}

TEST(document_files_test, access_of_missing_read_only_and_writable_files) {
    TempDir temp;
    const std::string file = temp.write("a.asm", "x");
    EXPECT_EQ(Access::writable, check_access(file));
    EXPECT_EQ(Access::missing, check_access((temp.path() / "none.asm").string()));
    fs::permissions(file, fs::perms::owner_read | fs::perms::group_read);
    EXPECT_EQ(Access::read_only, check_access(file));
}

TEST(document_files_test, block_copy_keeps_every_byte) {
    TempDir temp;
    for (size_t size : {size_t{0}, size_t{1}, kCopyBlockBytes - 1, kCopyBlockBytes,
                        kCopyBlockBytes + 1, 3 * kCopyBlockBytes + 7}) {
        SCOPED_TRACE(size);
        std::string bytes;
        for (size_t i = 0; i < size; ++i)
            bytes.push_back(static_cast<char>(i * 7 + 3)); // zero bytes, CR and LF among them
        const std::string from = temp.write("from", bytes);
        const std::string to = temp.write("to", "old text that is longer than some copies");
        ASSERT_TRUE(copy_in_blocks(from, to));
        EXPECT_EQ(bytes, read_raw(to).value_or("?"));
    }
    EXPECT_FALSE(copy_in_blocks((temp.path() / "missing").string(), (temp.path() / "x").string()));
}

} // namespace
} // namespace torva::test
