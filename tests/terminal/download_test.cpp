// The load to the board without a window: the file check, the load
// command's escapes, the worker's pacing, "SX" lines, "Stop load", and the
// terminal session that runs one load at a time.
#include "terminal/load_file_check.h"
#include "terminal/target_load.h"
#include "terminal/terminal_commands.h"
#include "terminal/terminal_session.h"

#include "support/temp_dir.h"
#include "support/write_only_link.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <sstream>

namespace torva {
namespace {

// Records the link's writes and the worker's pauses in the order they came.
class RecordingLink final : public test::WriteOnlyLink {
public:
    size_t write(std::span<const uint8_t> bytes) override {
        note(std::string(bytes.begin(), bytes.end()));
        return bytes.size();
    }
    using SerialLink::write;

    void note(std::string event) {
        const std::lock_guard lock(mutex_);
        events_.push_back(std::move(event));
    }
    std::vector<std::string> events() {
        const std::lock_guard lock(mutex_);
        return events_;
    }

private:
    std::mutex mutex_;
    std::vector<std::string> events_;
};

class RecordingUi final : public DownloadUi {
public:
    void error_box(const std::string& text) override { boxes.push_back(text); }
    bool question_box(const std::string& text) override {
        boxes.push_back(text);
        return answer;
    }
    void status_text(const std::string& text) override { status = text; }
    void status_ready() override { status = "Ready"; }
    void download_failed(const std::string& reason, int lines_sent, int lines) override {
        status = reason + ": " + std::to_string(lines_sent) + " of " + std::to_string(lines);
    }

    bool answer = true;
    std::vector<std::string> boxes;
    std::string status;
};

struct DownloadTest : ::testing::Test {
    // "Stop load" as the terminal gives it: the request, then the stop byte.
    static void stop(TargetLoad& load, RecordingLink& to) {
        load.request_stop();
        to.write(std::string_view("\x04", 1));
    }

    // The pauses join the link's events as "wait N".
    Download::Sleep recording_sleep(std::function<void(int)> also = {}) {
        return [this, also](Download::Milliseconds time) {
            link.note("wait " + std::to_string(time.count()));
            if (also) also(int(time.count()));
        };
    }

    test::TempDir dir;
    RecordingLink link;
    RecordingUi ui;
};

TEST_F(DownloadTest, SendsEachLineBetweenTwoPausesAndStopsAtTheFirstSxLine) {
    const std::string path = dir.write("prog.s19", "S1051000AABB85\r\n"
                                                   "S9030000FC\n"
                                                   "SX debug record\n"
                                                   "S1051000AABB85\n");
    TargetLoad load(recording_sleep());
    ASSERT_TRUE(load.start(path, "l\\n", link, ui));
    EXPECT_EQ("Loading to target", ui.status);
    EXPECT_EQ(2, load.lines());
    while (!load.finished())
        std::this_thread::yield();
    EXPECT_EQ("Loading to target: line 2 of 2", load.progress_text());
    load.finish(ui);
    EXPECT_EQ("Ready", ui.status);
    const std::vector<std::string> expected = {"l",        "\n",
                                               "wait 250", // command, then its pause
                                               "wait 50",  "S1051000AABB85\n",
                                               "wait 50", // CR LF goes as LF
                                               "wait 50",  "S9030000FC\n",
                                               "wait 50"}; // nothing from SX on
    EXPECT_EQ(expected, link.events());
    EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(DownloadTest, LoadCommandEscapes) {
    const std::string path = dir.write("empty.s19", "");
    struct Case {
        int line;
        const char* command;
        std::vector<std::string> writes;
        std::vector<std::string> boxes;
    } const cases[] = {
        {__LINE__, "l\\x", {"l"}, {"Illegal escape character 'x' in load command, ignored"}},
        {__LINE__, "l\\r\\n", {"l", "\r", "\n"}, {}},
        {__LINE__,
         "a\\qb\\",
         {"a", "b"}, // a lone backslash at the end is reported
         {"Illegal escape character 'q' in load command, ignored",
          "Illegal escape character '\\' in load command, ignored"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        RecordingLink fresh;
        RecordingUi boxes;
        TargetLoad load([](Download::Milliseconds) {});
        ASSERT_TRUE(load.start(path, c.command, fresh, boxes));
        load.finish(boxes);
        EXPECT_EQ(c.writes, fresh.events());
        EXPECT_EQ(c.boxes, boxes.boxes);
    }
}

TEST_F(DownloadTest, AFileThatCannotBeOpenedOrIsDeclinedSendsNothing) {
    TargetLoad load([](Download::Milliseconds) {});
    const std::string missing = (dir.path() / "missing.s19").string();
    EXPECT_FALSE(load.start(missing, "l\\n", link, ui));
    EXPECT_FALSE(load.start(dir.path().string(), "l\\n", link, ui)); // a directory
    ASSERT_EQ(2u, ui.boxes.size());
    EXPECT_EQ("Can't open (load): " + missing, ui.boxes[0]);

    ui.boxes.clear();
    ui.answer = false;
    const std::string broken = dir.write("broken.s19", "S1051000AABB85\nS1\nS9030000FC\n");
    EXPECT_FALSE(load.start(broken, "l\\n", link, ui));
    EXPECT_EQ(std::vector<std::string>{"The load file has errors in line 2. Download anyway?"},
              ui.boxes);
    EXPECT_TRUE(link.events().empty());

    ui.answer = true; // Yes sends it as it is
    ASSERT_TRUE(load.start(broken, "l\\n", link, ui));
    load.finish(ui);
    EXPECT_EQ(3, load.lines());
}

TEST_F(DownloadTest, StopLoadSendsTheStopByteAndNoLineFollows) {
    const std::string path = dir.write("prog.s19", "S1051000AABB85\nS1051002AABB83\nS9030000FC\n");
    // Stop during the pause before the first line: nothing of the file goes.
    {
        RecordingLink fresh;
        TargetLoad* running = nullptr;
        TargetLoad load([&](Download::Milliseconds time) {
            if (time == Download::kLinePause) stop(*running, fresh);
        });
        running = &load;
        ASSERT_TRUE(load.start(path, "", fresh, ui));
        load.finish(ui);
        EXPECT_EQ(std::vector<std::string>{"\x04"}, fresh.events());
    }
    // Stop after the first line: the stop byte follows it, nothing else.
    int pauses = 0;
    TargetLoad* running = nullptr;
    TargetLoad load(recording_sleep([&](int ms) {
        if (ms == 50 && ++pauses == 2) stop(*running, link);
    }));
    running = &load;
    ASSERT_TRUE(load.start(path, "", link, ui));
    load.finish(ui);
    const std::vector<std::string> expected = {"wait 250", "wait 50", "S1051000AABB85\n",
                                               "wait 50",  "\x04",    "wait 50"};
    EXPECT_EQ(expected, link.events());
}

// A link that takes a few lines, then refuses (a port that stopped
// sending); `held` of what it took has not gone yet.
class FailingLink final : public test::WriteOnlyLink {
public:
    explicit FailingLink(int lines) : lines_left(lines) {}
    size_t write(std::span<const uint8_t> bytes) override {
        if (lines_left == 0) return 0;
        --lines_left;
        return bytes.size();
    }
    using SerialLink::write;
    size_t unsent() override { return held; }
    std::string write_failure() override { return lines_left == 0 ? "held by XOFF" : ""; }

    std::atomic<int> lines_left;
    size_t held = 0;
};

TEST_F(DownloadTest, ALinkThatStopsTakingLinesEndsTheLoadWithHowFarItGot) {
    std::string file;
    for (int i = 0; i < 5; ++i)
        file += "S1051000AABB85\n"; // 15 bytes a line with its line feed
    const std::string path = dir.write("five.s19", file);
    // The command and two lines are taken; of them the last 10 bytes wait.
    FailingLink failing(4);
    failing.held = 10;
    TargetLoad load([](Download::Milliseconds) {});
    ASSERT_TRUE(load.start(path, "l\\n", failing, ui));
    load.finish(ui);
    EXPECT_EQ("held by XOFF: 1 of 5", ui.status);
}

// The simulated board's console needs no pacing: no pause anywhere, and
// the load lasts until the board has taken every byte; "Stop load" drops
// what it has not taken.
class UnpacedLink final : public test::WriteOnlyLink {
public:
    size_t write(std::span<const uint8_t> bytes) override {
        const std::lock_guard lock(mutex);
        written.append(bytes.begin(), bytes.end());
        return bytes.size();
    }
    using SerialLink::write;
    bool paced() const override { return false; }
    size_t unsent() override {
        const std::lock_guard lock(mutex);
        return written.size() - taken;
    }
    void drop_unsent() override {
        const std::lock_guard lock(mutex);
        taken = written.size();
    }
    void take(size_t bytes) {
        const std::lock_guard lock(mutex);
        taken = std::min(written.size(), taken + bytes);
    }

    std::mutex mutex;
    std::string written;
    size_t taken = 0;
};

TEST_F(DownloadTest, WithoutPacingTheLoadLastsUntilTheBoardHasTakenEveryByte) {
    const std::string path = dir.write("prog.s19", "S1051000AABB85\nS1051002AABB83\nS9030000FC\n");
    UnpacedLink board;
    int pauses = 0;
    TargetLoad load([&](Download::Milliseconds) { ++pauses; });
    ASSERT_TRUE(load.start(path, "l\\n", board, ui));
    while (board.unsent() < 2 + 15 + 15 + 11) // the command and every line written
        std::this_thread::yield();
    EXPECT_FALSE(load.finished());
    board.take(2 + 15); // the command and the first line
    EXPECT_EQ("Loading to target: line 1 of 3", load.progress_text());
    board.take(30);
    EXPECT_TRUE(load.finished());
    load.finish(ui);
    EXPECT_EQ("Ready", ui.status);
    EXPECT_EQ(0, pauses);

    // Stopped, it ends at once: the stop byte does not wait behind the file.
    UnpacedLink halted;
    TargetLoad stopped([](Download::Milliseconds) {});
    ASSERT_TRUE(stopped.start(path, "", halted, ui));
    stopped.wait();
    EXPECT_FALSE(stopped.finished());
    stopped.request_stop();
    EXPECT_EQ(0u, halted.unsent());
    EXPECT_TRUE(stopped.finished());
}

// The terminal's side of a load: one at a time, keys refused and the menu
// only "Stop load" while it runs, progress in the status bar, the file kept
// for Reload once it has gone; a load that never started leaves nothing.
TEST_F(DownloadTest, TheSessionRunsOneLoadAtATimeAndKeepsItsFileForReload) {
    using namespace terminal_cmd;
    auto ids = [](const TerminalSession& s) {
        std::vector<int> result;
        for (const auto& entry : s.context_menu())
            result.push_back(entry.id);
        return result;
    };
    const std::string path = dir.write("prog.s19", "S1051000AABB85\nS1051002AABB83\nS9030000FC\n");
    TerminalSession session({0, "", "COM1"}, board_terminal_defaults());
    UnpacedLink board;
    EXPECT_FALSE(session.start_download("", board, ui));
    EXPECT_EQ(std::vector<std::string>{"Can't open (load): "}, ui.boxes);
    EXPECT_FALSE(session.download_in_progress());
    EXPECT_EQ("", session.last_load_path());

    ASSERT_TRUE(session.start_download(path, board, ui));
    ASSERT_TRUE(session.download_in_progress());
    EXPECT_FALSE(session.start_download(path, board, ui));
    EXPECT_EQ(2u + 15 + 15 + 11, board.unsent()); // the command and the file, once
    EXPECT_EQ(std::vector<std::string>{}, session.typed('a'));
    EXPECT_EQ(std::vector{kStopDownload}, ids(session));
    EXPECT_FALSE(session.watch_download(ui));
    EXPECT_EQ("Loading to target", ui.status);
    board.take(2 + 15);
    EXPECT_FALSE(session.watch_download(ui));
    EXPECT_EQ("Loading to target: line 1 of 3", ui.status);
    EXPECT_EQ("", session.last_load_path()); // not before it has gone
    board.take(30);
    EXPECT_TRUE(session.watch_download(ui));
    EXPECT_EQ("Ready", ui.status);
    EXPECT_FALSE(session.download_in_progress());
    EXPECT_EQ(path, session.last_load_path());
    EXPECT_EQ(kReload, ids(session).front());

    // "Stop load" drops what waits and sends the stop byte; the next look ends it.
    ASSERT_TRUE(session.start_download(path, board, ui));
    session.stop_download(board);
    EXPECT_EQ('\x04', board.written.back());
    EXPECT_EQ(1u, board.unsent());
    EXPECT_TRUE(session.watch_download(ui));
    EXPECT_FALSE(session.download_in_progress());
    // A window that goes ends its load at once.
    ASSERT_TRUE(session.start_download(path, board, ui));
    ui.status.clear();
    session.end_download_now(ui);
    EXPECT_FALSE(session.download_in_progress());
    EXPECT_EQ("Ready", ui.status);
}

TEST(LoadFileCheck, FindsTheFirstLineTheLoaderRefuses) {
    struct Case {
        int line;
        const char* text;
        int lines;
        int error_line;
    } const cases[] = {
        {__LINE__, "S0030000FC\n\nS1051000aabb85\nS9030000FC\n", 4, 0}, // blank, lower case
        {__LINE__, "S1051000AABB85\nhello\nS9030000FC\n", 3, 2},        // not a record
        {__LINE__, "S1051000AABB85\nS5030001FB\n", 2, 2},               // a type the loader refuses
        {__LINE__, "S105G000AABB85\n", 1, 1},                           // address not hexadecimal
        {__LINE__, "S9030000FC\ngarbage\n", 2, 0},         // not read after the end record
        {__LINE__, "S1051000AABB85\nSXdebug\nS5\n", 1, 0}, // nothing from SX on is sent
        {__LINE__, "S1051000AABB85", 1, 0},                // no line end on the last line
        // The board's monitor checks every record it writes or ends with.
        {__LINE__, "S1051000AABB86\n", 1, 1},                // wrong checksum
        {__LINE__, "S1061000AABB84\n", 1, 1},                // a count that does not match
        {__LINE__, "S1051000AABB8\n", 1, 1},                 // half a pair
        {__LINE__, "S1051000AABB85 \n", 1, 1},               // a blank is no digit
        {__LINE__, "S10210ED\n", 1, 1},                      // no room for the checksum
        {__LINE__, "S1051000AABB85\nS9030000FB\n", 2, 2},    // a damaged end record
        {__LINE__, "S00600004844521B\nS0 anything\n", 2, 0}, // headers are skipped
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        std::istringstream file(c.text);
        const LoadFileCheck check = check_load_file(file);
        EXPECT_EQ(c.lines, check.lines);
        EXPECT_EQ(c.error_line, check.error_line);
    }
    std::istringstream overlong("S1" + std::string(2000, '0') + "\n");
    EXPECT_EQ(1, check_load_file(overlong).error_line);
}

} // namespace
} // namespace torva
