// The save rules of a document without a window: the backup and "&No" on
// close, silent saves, another program's change (asked about once, never
// overwritten or restored over unasked), and failed writes that change
// nothing.
#include "editor/document_file_state.h"

#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <deque>
#include <vector>

namespace torva::test {
namespace {

namespace fs = std::filesystem;

// The window's side: the text, scripted answers, and what was shown.
class FakeDocument final : public DocumentFileHost {
public:
    DocumentFileState* state = nullptr;
    std::string text;
    std::deque<bool> answers; // to the questions, in order; none left: "No"
    std::vector<std::string> questions;
    std::vector<std::string> errors;
    // Called from inside a question, as a window activated by the box's
    // closing would.
    std::function<void()> during_question;

    bool ask_yes(const char* format) override {
        questions.emplace_back(format);
        if (during_question) during_question();
        if (answers.empty()) return false;
        const bool yes = answers.front();
        answers.pop_front();
        return yes;
    }
    void show_error(const std::string& message) override { errors.push_back(message); }
    long text_length() const override { return static_cast<long>(text.size()); }
    void read_text(long start, long end, char* into) const override {
        text.copy(into, static_cast<size_t>(end - start), static_cast<size_t>(start));
    }
    void mark_saved() override { state->set_modified(false); }
    void file_state_changed() override {}

    // The user types: the text leaves its save point.
    void edit(const std::string& now) {
        text = now;
        state->set_modified(true);
    }
};

class DocumentFileStateTest : public ::testing::Test {
protected:
    TempDir temp;
    FakeDocument document;
    std::optional<DocumentFileState> state;

    std::string file(const std::string& name) const { return (temp.path() / name).string(); }
    // Opens the file as the window does: load, then the backup.
    DocumentFileState& open(const std::string& path, bool read_only = false) {
        state.emplace(document, path, read_only);
        document.state = &*state;
        document.text = state->load().value_or("");
        state->start_backup();
        return *state;
    }
    // Moves a file's time by seconds: another program's write lies clearly
    // after the editor's, an old backup clearly before.
    static void shift_time(const std::string& path, int seconds) {
        fs::last_write_time(path, fs::last_write_time(path) + std::chrono::seconds(seconds));
    }
    static void rewrite_elsewhere(const std::string& path, const std::string& text) {
        std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
        shift_time(path, 5);
    }
};

TEST_F(DocumentFileStateTest, no_on_close_restores_the_version_saved_last) {
    struct Case {
        int line;
        bool yes;         // the answer to the save question
        bool silent_save; // as Assemble does after the edit
        const char* on_disk;
    };
    constexpr Case kCases[] = {
        {__LINE__, true, false, "saved\nedit\n"}, // "&Yes": the edit is written
        {__LINE__, false, false, "saved\n"},      // "&No": as last saved
        {__LINE__, false, true, "saved\n"},       // "&No" undoes the silent save too
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.line);
        const std::string path = temp.write("doc.asm", "start\n");
        DocumentFileState& doc = open(path);
        const std::string backup = file("~doc.asm~");
        EXPECT_EQ(backup, doc.backup_path());
        EXPECT_EQ("start\n", read_raw(backup).value_or("?"));

        document.edit("saved\n");
        EXPECT_TRUE(doc.counts_as_modified());
        ASSERT_TRUE(doc.save());
        EXPECT_EQ("saved\n", read_raw(backup).value_or("?")); // Save refreshes the backup
        EXPECT_FALSE(doc.counts_as_modified());
        shift_time(backup, -5);

        document.edit("saved\nedit\n");
        if (c.silent_save) {
            ASSERT_TRUE(doc.silent_save());
            EXPECT_FALSE(doc.modified());
            EXPECT_EQ("saved\nedit\n", read_raw(path).value_or("?"));
            EXPECT_EQ("saved\n", read_raw(backup).value_or("?")); // not refreshed
            EXPECT_TRUE(doc.counts_as_modified());
        }
        EXPECT_TRUE(c.yes ? doc.write_file() : doc.discard_changes());
        doc.closed();
        EXPECT_EQ(c.on_disk, read_raw(path).value_or("?"));
        EXPECT_FALSE(fs::exists(backup)); // gone with the document
        EXPECT_TRUE(document.questions.empty());
    }
}

TEST_F(DocumentFileStateTest, another_programs_version_is_not_replaced_unasked) {
    const std::string overwrite = "File '%s' has been changed by another program. Overwrite it?";
    const std::string restore =
        "File '%s' has been changed by another program. Restore the version from before?";
    struct Case {
        int line;
        bool closing; // "&No" on close, else a save
        bool yes;
        const char* on_disk;
    };
    constexpr Case kCases[] = {
        {__LINE__, false, false, "theirs\n"}, // the save writes nothing
        {__LINE__, false, true, "mine\n"},    // the save overwrites
        {__LINE__, true, false, "theirs\n"},  // their version stays
        {__LINE__, true, true, "start\n"},    // the version from before comes back
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.line);
        const std::string path = temp.write("shared.asm", "start\n");
        DocumentFileState& doc = open(path);
        document.edit("mine\n");
        if (c.closing) {
            ASSERT_TRUE(doc.silent_save());
        }
        rewrite_elsewhere(path, "theirs\n");
        EXPECT_TRUE(doc.changed_on_disk());
        document.answers = {c.yes};
        document.questions.clear();
        const bool done = c.closing ? doc.discard_changes() : doc.silent_save();
        EXPECT_EQ(c.closing || c.yes, done);
        EXPECT_EQ(std::vector<std::string>{c.closing ? restore : overwrite}, document.questions);
        EXPECT_EQ(c.on_disk, read_raw(path).value_or("?"));
        EXPECT_EQ(!c.closing && !c.yes, doc.modified());
        if (!c.closing && c.yes) {
            // Once written, the editor's own write is not taken for another's.
            document.edit("mine\nmore\n");
            EXPECT_TRUE(doc.save());
            EXPECT_EQ(1u, document.questions.size());
        }
    }
}

TEST_F(DocumentFileStateTest, a_change_on_disk_is_asked_about_once) {
    const std::string path = temp.write("watched.asm", "one\n");
    DocumentFileState& doc = open(path);
    EXPECT_FALSE(doc.reload_wanted()); // nothing changed: no question
    EXPECT_TRUE(document.questions.empty());

    rewrite_elsewhere(path, "two\n");
    EXPECT_FALSE(doc.reload_wanted()); // "No"
    EXPECT_FALSE(doc.reload_wanted()); // the same change is not asked about again
    EXPECT_EQ(1u, document.questions.size());
    EXPECT_EQ("File '%s' has been changed outside the editor, reload it?", document.questions[0]);

    std::ofstream(path, std::ios::binary) << "three\n";
    shift_time(path, 10);
    document.answers = {true};
    EXPECT_TRUE(doc.reload_wanted());
    EXPECT_EQ(2u, document.questions.size());

    // The window's activation, coming back while a question is open, asks
    // nothing more.
    rewrite_elsewhere(path, "four\n");
    shift_time(path, 10);
    int inner = 0;
    document.during_question = [&] { inner += doc.reload_wanted() ? 10 : 1; };
    doc.reload_wanted();
    EXPECT_EQ(1, inner);
    EXPECT_EQ(3u, document.questions.size());
}

TEST_F(DocumentFileStateTest, failed_writes_keep_the_document_as_it_was) {
    // A save into a name that became a directory: the write-protected box,
    // and the document stays modified.
    const std::string path = temp.write("gone.asm", "x\n");
    DocumentFileState& doc = open(path);
    document.edit("xy\n");
    fs::remove(path);
    fs::create_directory(path);
    document.answers = {true}; // to "changed by another program"
    EXPECT_FALSE(doc.save());
    EXPECT_EQ(
        std::vector<std::string>{"Can't write to file '" + path + "', is file write protected?"},
        document.errors);
    EXPECT_TRUE(doc.modified());
    EXPECT_TRUE(doc.counts_as_modified());

    // Save As into a directory that does not exist keeps name, path and
    // backup.
    document.errors.clear();
    const std::string kept = temp.write("keep.asm", "text\n");
    DocumentFileState& other = open(kept);
    const std::string elsewhere = file("no such dir/new.asm");
    EXPECT_FALSE(other.save_as(elsewhere));
    EXPECT_EQ(std::vector<std::string>{"Can't write to file '" + elsewhere +
                                       "': No such file or directory"},
              document.errors);
    EXPECT_EQ(kept, other.path());
    EXPECT_EQ("keep.asm", other.name());
    EXPECT_EQ("text\n", read_raw(file("~keep.asm~")).value_or("?"));
}

} // namespace
} // namespace torva::test
