// Saves that must not lose a byte: a write that fails part way, a full file
// system and a read-only directory (in a namespace of their own where the
// machine allows one), a file another program changed, the title's " *"
// after Assemble's silent save, and Save As that copies a read-only file.
#include "editor_fixture.h"

#include "editor/ask_about_save.h"
#include "editor/document_files.h"

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <fstream>

#include <sys/resource.h>

namespace torva::test {
namespace {

namespace fs = std::filesystem;

class DocumentSavingTest : public EditorFixture {
protected:
    // Another program rewrites the file; its time lies clearly after the
    // editor's own.
    static void rewrite_elsewhere(const std::string& path, const std::string& text) {
        std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
        fs::last_write_time(path, fs::last_write_time(path) + std::chrono::seconds(5));
    }
    static std::vector<std::string> names_in(const std::string& dir) {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    std::string title() const { return frame->windowTitle().toStdString(); }
    bool assembled(const std::string& stem) const {
        const auto lines = output_lines();
        return std::find(lines.begin(), lines.end(), "No Errors.") != lines.end() &&
               fs::exists(dir() + "/" + stem + ".s19");
    }
};

// Files may grow to `bytes` while the object lives; a longer write fails
// with "File too large" instead of ending the program.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        signal_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, signal_);
    }

private:
    rlimit saved_{};
    void (*signal_)(int) = nullptr;
};

TEST_F(DocumentSavingTest, a_write_that_fails_part_way_leaves_the_file_whole) {
    const std::string old_text(20000, 'o');
    const std::string path = write("big.asm", old_text);
    DocumentWindow* document = open(path);
    DocumentWindow* other = open(write("other.asm", "nop\n"));
    ASSERT_NE(nullptr, document);
    type_text(other, " ");
    activate(document);
    const std::string new_text(3 * kSavePieceBytes, 'n');
    document->sci().send(sci::SCI_CLEARALL);
    type_text(document, new_text);
    const std::string box = "Can't write to file '" + path + "': File too large";
    {
        const FileSizeLimit limit(100000);
        frame->dispatch(cmd::kSave);
        EXPECT_EQ(1, boxes_containing(box));
        EXPECT_EQ(old_text, read_raw(path).value_or("?"));
        EXPECT_EQ(new_text, document->sci().text());
        EXPECT_TRUE(document->modified());
        EXPECT_EQ("big.asm *", document->windowTitle().toStdString());
        // The temporary file went with the failure.
        EXPECT_EQ((std::vector<std::string>{"big.asm", "other.asm", "~big.asm~", "~other.asm~"}),
                  names_in(dir()));

        // Assemble does not run on the old text when its save fails.
        frame->dispatch(cmd::kAssemble);
        EXPECT_EQ(2, boxes_containing(box));
        EXPECT_FALSE(fs::exists(dir() + "/big.s19"));
        EXPECT_FALSE(assembled("big"));

        // Close All: "&Yes" whose save fails keeps the document and stops
        // the round before the next document is asked.
        dialogs.modal_answers = {AskAboutSaveDialog::kYes};
        frame->dispatch(cmd::kCloseAll);
        settle_events();
        EXPECT_EQ(3, boxes_containing(box));
        EXPECT_EQ(std::vector<std::string>{"ASKABOUTSAVE"}, dialogs.modal_dialogs);
        EXPECT_EQ(2, frame->child_count());
        EXPECT_EQ(new_text, document->sci().text());
        EXPECT_EQ(old_text, read_raw(path).value_or("?"));
        EXPECT_EQ(old_text, read_raw(dir() + "/~big.asm~").value_or("?"));
    }
    activate(document);
    frame->dispatch(cmd::kSave);
    EXPECT_EQ(new_text, read_raw(path).value_or("?"));
    EXPECT_EQ("big.asm", document->windowTitle().toStdString());
}

TEST_F(DocumentSavingTest, another_programs_change_is_not_overwritten_unasked) {
    const std::string path = write("shared.asm", "        NOP\n");
    DocumentWindow* document = open(path);
    type_text(document, "        SWI\n");
    rewrite_elsewhere(path, "        LDAA #1\n");
    const std::string question =
        "File 'shared.asm' has been changed by another program. Overwrite it?";

    // Save, Assemble's silent save and Assemble itself all ask; "No" writes
    // nothing, and Assemble does not run on the other program's text.
    messages.answers = {kBoxNo, kBoxNo, kBoxNo};
    frame->dispatch(cmd::kSave);
    EXPECT_FALSE(documents.save_modified_sources());
    frame->dispatch(cmd::kAssemble);
    EXPECT_EQ(3, boxes_containing(question));
    EXPECT_EQ("        LDAA #1\n", read_raw(path).value_or("?"));
    EXPECT_TRUE(document->modified());
    EXPECT_FALSE(assembled("shared"));
    // The question did not bring the reload question along.
    EXPECT_EQ(3u, messages.shown.size());

    messages.answers = {kBoxYes};
    frame->dispatch(cmd::kAssemble);
    EXPECT_EQ(4, boxes_containing(question));
    EXPECT_EQ("        SWI\n        NOP\n", read_raw(path).value_or("?"));
    EXPECT_TRUE(assembled("shared"));
}

TEST_F(DocumentSavingTest, title_keeps_its_star_while_the_document_counts_as_unsaved) {
    DocumentWindow* document = open(write("star.asm", "        NOP\n"));
    EXPECT_EQ("Vardel TORVA 6 for RT12 - [star.asm]", title());
    type_text(document, ";\n");
    EXPECT_EQ("star.asm *", document->windowTitle().toStdString());
    EXPECT_EQ("star.asm *", document->parentWidget()->windowTitle().toStdString());
    let_clock_tick();
    frame->dispatch(cmd::kAssemble); // saves without refreshing the backup
    EXPECT_FALSE(document->modified());
    EXPECT_EQ("star.asm *", document->windowTitle().toStdString());
    activate(document);
    EXPECT_EQ("Vardel TORVA 6 for RT12 - [star.asm *]", title());
    frame->dispatch(cmd::kSave);
    EXPECT_EQ("star.asm", document->windowTitle().toStdString());
    EXPECT_EQ("Vardel TORVA 6 for RT12 - [star.asm]", title());
    frame->dispatch(cmd::kUndo);
    EXPECT_EQ("star.asm *", document->windowTitle().toStdString());
}

TEST_F(DocumentSavingTest, save_as_copies_a_read_only_file_into_a_document_of_its_own) {
    const std::string path = write("rom.asm", "        NOP\n");
    fs::permissions(path, fs::perms::owner_read);
    DocumentWindow* document = open(path);
    ASSERT_TRUE(document->read_only());
    dialogs.answers = {dir() + "/mine.asm"};
    frame->dispatch(cmd::kSaveAs);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ("mine.asm", document->windowTitle().toStdString());
    EXPECT_EQ("        NOP\n", read_raw(dir() + "/mine.asm").value_or("?"));
    EXPECT_EQ("        NOP\n", read_raw(dir() + "/~mine.asm~").value_or("?"));
    EXPECT_EQ(0, document->sci().send(sci::SCI_GETREADONLY));
    type_text(document, ";\n");
    frame->dispatch(cmd::kSave);
    EXPECT_EQ(";\n        NOP\n", read_raw(dir() + "/mine.asm").value_or("?"));
    EXPECT_EQ("        NOP\n", read_raw(path).value_or("?"));
}

// The next two run only inside the namespace that the test after them
// sets up: a small tmpfs is mounted, and the program runs without
// privileges, so that directory permissions hold even for root.
const char* const kSmallFileSystem = "TORVA_TEST_SMALL_FS";
using DocumentSavingConfinedTest = DocumentSavingTest;

TEST_F(DocumentSavingConfinedTest, on_a_full_file_system) {
    const char* small = std::getenv(kSmallFileSystem);
    if (small == nullptr) GTEST_SKIP() << "runs inside the namespace of the test below";
    const std::string path = std::string(small) + "/full.asm";
    const std::string old_text(8000, 'o');
    std::ofstream(path, std::ios::binary) << old_text;
    DocumentWindow* document = open(path);
    ASSERT_NE(nullptr, document);
    {
        // Everything that is left is taken.
        std::FILE* filler = std::fopen((std::string(small) + "/filler").c_str(), "wb");
        ASSERT_NE(nullptr, filler);
        std::setvbuf(filler, nullptr, _IONBF, 0);
        const std::string block(4096, 'f');
        while (std::fwrite(block.data(), 1, block.size(), filler) == block.size()) {
        }
        std::fclose(filler);
    }
    const std::string new_text(64 * 1024, 'n');
    document->sci().send(sci::SCI_CLEARALL);
    type_text(document, new_text);
    frame->dispatch(cmd::kSave);
    EXPECT_EQ(1, boxes_containing("Can't write to file '" + path + "': No space left on device"));
    EXPECT_EQ(old_text, read_raw(path).value_or("?"));
    EXPECT_TRUE(document->modified());
    EXPECT_EQ((std::vector<std::string>{"filler", "full.asm", "~full.asm~"}), names_in(small));

    dialogs.modal_answers = {AskAboutSaveDialog::kYes};
    close(document);
    EXPECT_EQ(2, boxes_containing("No space left on device"));
    EXPECT_EQ(1, frame->child_count());

    fs::remove(std::string(small) + "/filler");
    activate(document);
    frame->dispatch(cmd::kSave);
    EXPECT_EQ(new_text, read_raw(path).value_or("?"));
}

TEST_F(DocumentSavingConfinedTest, in_a_read_only_directory) {
    if (std::getenv(kSmallFileSystem) == nullptr)
        GTEST_SKIP() << "runs inside the namespace of the test below";
    const std::string locked = dir() + "/locked";
    fs::create_directory(locked);
    std::ofstream(locked + "/mine.asm") << "one\n";
    std::ofstream(locked + "/theirs.asm") << "two\n";
    fs::permissions(locked + "/theirs.asm", fs::perms::owner_read);
    fs::permissions(locked, fs::perms::owner_read | fs::perms::owner_exec);
    struct Unlock {
        std::string dir;
        ~Unlock() { fs::permissions(dir, fs::perms::owner_all); }
    } unlock{locked};

    // A file that may be written is saved in place; it gets no backup.
    DocumentWindow* mine = open(locked + "/mine.asm");
    ASSERT_NE(nullptr, mine);
    EXPECT_EQ("mine.asm", mine->windowTitle().toStdString());
    type_text(mine, "zero\n");
    frame->dispatch(cmd::kSave);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ("zero\none\n", read_raw(locked + "/mine.asm").value_or("?"));
    EXPECT_EQ((std::vector<std::string>{"mine.asm", "theirs.asm"}), names_in(locked));
    close(mine);
    EXPECT_TRUE(dialogs.modal_dialogs.empty()); // saved: nothing to ask
    EXPECT_EQ("zero\none\n", read_raw(locked + "/mine.asm").value_or("?"));

    // A new file cannot be made there: write protection, in the classic
    // words, and the document keeps its name.
    DocumentWindow* theirs = open(locked + "/theirs.asm");
    ASSERT_TRUE(theirs->read_only());
    dialogs.answers = {locked + "/copy.asm"};
    frame->dispatch(cmd::kSaveAs);
    EXPECT_EQ(1, boxes_containing("Can't write to file '" + locked +
                                  "/copy.asm', is file write protected?"));
    EXPECT_EQ("theirs.asm (Read Only)", theirs->windowTitle().toStdString());
}

// Runs the two tests above in a mount namespace of their own, as root of a
// user namespace that mounts a 256 KB tmpfs, and then without privileges.
TEST(DocumentSavingNamespaceTest, full_file_system_and_read_only_directory) {
    if (std::system("unshare --user --map-root-user --mount "
                    "sh -c 'mount -t tmpfs -o size=64k none /tmp && unshare --user true' "
                    ">/dev/null 2>&1") != 0)
        GTEST_SKIP() << "this machine allows no user and mount namespaces (unshare): no small "
                        "tmpfs to fill, and no run without privileges";
    const TempDir mount_point;
    const TempDir log_dir;
    const fs::path self = fs::read_symlink("/proc/self/exe");
    const std::string log = (log_dir.path() / "log").string();
    const std::string command =
        std::string(kSmallFileSystem) + "='" + mount_point.path().string() +
        "' unshare --user --map-root-user --mount sh -c '"
        "mount -t tmpfs -o size=256k none \"$" +
        kSmallFileSystem +
        "\" && exec unshare --user \"$0\" --gtest_filter=DocumentSavingConfinedTest.*' '" +
        self.string() + "' >'" + log + "' 2>&1";
    const int status = std::system(command.c_str());
    const std::string output = read_raw(log).value_or("");
    EXPECT_EQ(0, status) << output;
    EXPECT_NE(std::string::npos, output.find("[  PASSED  ] 2 tests.")) << output;
}

} // namespace
} // namespace torva::test
