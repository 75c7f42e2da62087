// The frame driven through dispatch: menu tree and enabling, recent files,
// closing rules, title, routing to children and the command line.
#include "fakes.h"

#include "shell/command_ids.h"
#include "sim/sim_commands.h"
#include "terminal/terminal_commands.h"

#include <QAction>
#include <QFontInfo>
#include <QFontMetrics>
#include <QMenuBar>
#include <QSettings>

#include <filesystem>

namespace fs = std::filesystem;

namespace torva::test {
namespace {

// A pop-up as "text=id|-|..." ("-" a separator, ">" a sub-menu, "~" greyed).
std::string describe(const QMenu& menu) {
    std::string out;
    for (QAction* action : menu.actions()) {
        if (!out.empty()) out += '|';
        if (action->isSeparator())
            out += '-';
        else if (action->menu() != nullptr)
            out += '>' + action->text().toStdString();
        else {
            if (!action->isEnabled()) out += '~';
            out += action->text().toStdString() + '=' + std::to_string(action->data().toInt());
        }
    }
    return out;
}

using FrameTest = FrameFixture;

TEST_F(FrameTest, enabling_follows_documents_and_the_simulator) {
    EXPECT_FALSE(enabled(cmd::kSaveAll));
    EXPECT_TRUE(enabled(cmd::kSimulator));

    dialogs.answers.push_back("/w/prog.asm");
    messages.answers = {kBoxYes}; // create it
    frame->dispatch(cmd::kOpen);
    open_menu(Popup::file);
    EXPECT_TRUE(enabled(cmd::kSaveAll));
    EXPECT_TRUE(enabled(cmd::kSave)); // the document enabled its own items
    EXPECT_FALSE(enabled(cmd::kPrint));

    frame->dispatch(cmd::kSimulatorNoFile);
    open_menu(Popup::debug);
    EXPECT_FALSE(enabled(cmd::kSimulator));
    EXPECT_FALSE(enabled(cmd::kSave)); // the simulator enables nothing of the document's
    EXPECT_TRUE(enabled(cmd::kSaveAll));

    frame->dispatch(cmd::kCloseAll);
    open_menu(Popup::debug);
    EXPECT_TRUE(enabled(cmd::kSimulator));
    EXPECT_FALSE(enabled(cmd::kSaveAll));
}

// The expected description of pop-up entries whose ids count up from
// `first`: "text=id|..." ("" leaves that id out).
std::string entries(const std::vector<std::string>& texts, int first) {
    std::string out;
    for (size_t i = 0; i < texts.size(); ++i) {
        if (texts[i].empty()) continue;
        if (!out.empty()) out += '|';
        out += texts[i] + '=' + std::to_string(first + int(i));
    }
    return out;
}

// The recent-files pop-up holding these files, newest first.
std::string recent_entries(const std::vector<std::string>& files) {
    std::vector<std::string> texts;
    for (const std::string& file : files)
        texts.push_back(std::to_string(texts.size() + 1) + ": " + file);
    return entries(texts, cmd::kRecentFirst);
}

TEST_F(FrameTest, terminal_popup_lists_the_present_ports_when_it_opens) {
    ports.ports = {{0, "ttyS0"}, {2, "COM&3"}};
    open_menu(Popup::terminal);
    EXPECT_EQ(entries({"ttyS0", "", "COM&3"}, cmd::kPortFirst),
              describe(*frame->menus()->popup(Popup::terminal)));

    ports.ports = {{0, "ttyS0"}, {1, "ttyUSB0"}, {2, "COM&3"}}; // an adapter was plugged in
    open_menu(Popup::terminal);
    EXPECT_EQ(entries({"ttyS0", "ttyUSB0", "COM&3"}, cmd::kPortFirst),
              describe(*frame->menus()->popup(Popup::terminal)));

    frame->menus()->action(cmd::kPortFirst + 2)->trigger();
    EXPECT_EQ(std::vector<int>{2}, workbench.terminals);
    ASSERT_NE(nullptr, frame->top_child());
    EXPECT_EQ("TV6RT12##TerminalChild", frame->top_child()->objectName().toStdString());
    EXPECT_EQ("Terminal", frame->top_child()->windowTitle().toStdString());
}

TEST_F(FrameTest, recent_files_open_move_to_top_and_persist) {
    QSettings(QStringLiteral("Vardel"), QStringLiteral("TORVA6_RT12")).clear();
    frame = make_frame();
    open_menu(Popup::recent);
    EXPECT_EQ(entries({"~(Empty)"}, cmd::kRecentFirst),
              describe(*frame->menus()->popup(Popup::recent)));
    frame->dispatch(cmd::kRecentFirst + 2); // an empty slot does nothing
    EXPECT_TRUE(documents.opened.empty());

    // How many files the list keeps, and how paths are spelt there, are the
    // recent files test's rules.
    messages.answers.assign(3, kBoxYes); // the files are created
    for (const char* path : {"/w/a.asm", "/w/b.asm", "/w/c.asm"}) {
        dialogs.answers.push_back(path);
        frame->dispatch(cmd::kOpen);
    }
    open_menu(Popup::recent);
    EXPECT_EQ(recent_entries({"/w/c.asm", "/w/b.asm", "/w/a.asm"}),
              describe(*frame->menus()->popup(Popup::recent)));

    documents.opened.clear();
    frame->dispatch(cmd::kRecentFirst + 2);
    ASSERT_EQ(1u, documents.opened.size());
    EXPECT_EQ("/w/a.asm", documents.opened[0].path);
    EXPECT_FALSE(documents.opened[0].is_new);
    EXPECT_EQ(-1, documents.opened[0].line);

    // Closing the documents writes the list; a new frame reads it back.
    frame->dispatch(cmd::kCloseAll);
    frame = make_frame();
    open_menu(Popup::recent);
    EXPECT_EQ(recent_entries({"/w/a.asm", "/w/c.asm", "/w/b.asm"}),
              describe(*frame->menus()->popup(Popup::recent)));
}

TEST_F(FrameTest, close_all_visits_every_child_even_after_a_refusal) {
    FakeChild* first = add(new FakeChild("KivOutputChild"));
    FakeChild* refusing = add(new FakeChild("TV6RT12##TerminalChild"));
    FakeChild* last = add(new FakeChild("KivSimulatorChild"));
    refusing->may_close = false;
    frame->client().subWindowList().back()->showMaximized();

    frame->dispatch(cmd::kCloseAll);
    EXPECT_EQ(1, first->queries);
    EXPECT_EQ(1, refusing->queries);
    EXPECT_EQ(1, last->queries);
    ASSERT_EQ(1, frame->child_count());
    EXPECT_EQ(refusing, frame->client().subWindowList().front()->widget());
    settle_events();
}

TEST_F(FrameTest, exit_stays_open_while_a_child_refuses) {
    int closed = 0;
    QObject::connect(frame.get(), &KivFrame::closed, [&closed] { ++closed; });
    FakeChild* refusing = add(new FakeChild("TV6RT12##TerminalChild"));
    add(new FakeChild("KivOutputChild"));
    refusing->may_close = false;

    frame->dispatch(cmd::kExit);
    EXPECT_TRUE(frame->isVisible());
    EXPECT_EQ(0, closed);
    EXPECT_EQ(1, frame->child_count());       // the window that agreed is gone
    EXPECT_FALSE(frame->query_end_session()); // the session-end request is refused too

    refusing->may_close = true;
    frame->dispatch(cmd::kExit);
    EXPECT_EQ(1, closed);
    EXPECT_FALSE(frame->isVisible());
}

TEST_F(FrameTest, close_asks_the_active_child_only) {
    FakeChild* below = add(new FakeChild("KivOutputChild"));
    FakeChild* top = add(new FakeChild("KivSimulatorChild"));
    top->may_close = false;
    frame->dispatch(cmd::kClose);
    EXPECT_EQ(1, top->queries);
    EXPECT_EQ(0, below->queries);
    EXPECT_EQ(2, frame->child_count());
    top->may_close = true;
    frame->dispatch(cmd::kClose);
    EXPECT_EQ(1, frame->child_count());
}

TEST_F(FrameTest, user_close_of_a_sub_window_asks_the_child) {
    FakeChild* child = add(new FakeChild("TV6RT12##TerminalChild"));
    child->may_close = false;
    frame->client().subWindowList().front()->close();
    EXPECT_EQ(1, child->queries);
    EXPECT_EQ(1, frame->child_count());
}

TEST_F(FrameTest, title_names_the_document_on_top) {
    struct Case {
        int line;
        std::string path; // "" opens no document
        std::string title;
    };
    const std::string long_name(200, 'n');
    const Case cases[] = {
        {__LINE__, "", "Vardel TORVA 6 for RT12"},
        {__LINE__, "/w/dir/prog.asm", "Vardel TORVA 6 for RT12 - [prog.asm]"},
        {__LINE__, "/w/" + long_name + ".asm",
         "Vardel TORVA 6 for RT12 - [" + long_name.substr(0, 120) + "]"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        frame->dispatch(cmd::kCloseAll);
        if (!c.path.empty()) frame->open_document(false, c.path, -1);
        frame->update_title();
        EXPECT_EQ(c.title, frame->windowTitle().toStdString());
    }
    // A window that is not a document on top: the plain title again.
    frame->dispatch(cmd::kCreateOutput);
    EXPECT_EQ("Vardel TORVA 6 for RT12", frame->windowTitle().toStdString());
}

TEST_F(FrameTest, commands_route_to_the_frame_or_the_active_child) {
    FakeChild* child = add(new FakeChild("TV6RT12##TerminalChild"));
    struct Case {
        int line;
        int sent;
        int received; // what the child gets, 0 for nothing
    };
    const Case cases[] = {
        {__LINE__, cmd::kCut, cmd::kCut}, // document commands are forwarded
        {__LINE__, cmd::kSave, cmd::kSave},
        {__LINE__, cmd::kArrowUp, cmd::kArrowUp},                   // arrow accelerators too
        {__LINE__, cmd::kAccelSave, cmd::kSave},                    // Ctrl+S saves
        {__LINE__, cmd::kAccelFind, cmd::kFindReplace},             // Ctrl+F finds
        {__LINE__, terminal_cmd::kReload, terminal_cmd::kDownload}, // download again
        {__LINE__, cmd::kCascade, 0}, // frame commands stay in the frame
        {__LINE__, cmd::kSaveAll, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        child->commands.clear();
        frame->dispatch(c.sent, 7);
        if (c.received == 0) {
            EXPECT_TRUE(child->commands.empty());
        } else {
            ASSERT_EQ(1u, child->commands.size());
            EXPECT_EQ(c.received, child->commands[0].first);
        }
    }
    EXPECT_EQ(1, documents.saves);
}

TEST_F(FrameTest, terminal_load_asks_for_the_load_file_first) {
    FakeChild* terminal = add(new FakeChild("TV6RT12##TerminalChild"));
    frame->dispatch(terminal_cmd::kDownload); // cancelled: nothing is sent
    EXPECT_TRUE(terminal->commands.empty());
    dialogs.answers.push_back("/w/out/prog.s19");
    frame->dispatch(terminal_cmd::kDownload);
    EXPECT_EQ(std::vector<std::string>{"/w/out/prog.s19"}, terminal->downloads);
    EXPECT_EQ("Load File", dialogs.requests.back().title);
    EXPECT_TRUE(dialogs.requests.back().must_exist);
    EXPECT_EQ("/w/out", frame->directories().load_dialog_dir);
}

TEST_F(FrameTest, simulator_is_one_window_with_its_load_chain) {
    frame->dispatch(cmd::kSimulator); // the Load File dialog is cancelled
    EXPECT_TRUE(workbench.simulators.empty());
    EXPECT_EQ(0, workbench.start_requests);

    dialogs.answers.push_back("/w/prog.s19");
    frame->dispatch(cmd::kSimulator);
    ASSERT_EQ(std::vector<std::string>{"/w/prog.s19"}, workbench.simulators);
    EXPECT_EQ(1, workbench.start_requests);
    FakeChild* simulator = workbench.last_simulator;
    EXPECT_EQ(simulator, frame->simulator_window());
    EXPECT_EQ("Simulator", simulator->windowTitle().toStdString());
    EXPECT_TRUE(simulator->got(sim_cmd::kLoadChain));

    add(new FakeChild("KivOutputChild"));
    simulator->commands.clear();
    frame->dispatch(cmd::kSimulatorNoFile); // exists: activated and loaded again
    EXPECT_EQ(1u, workbench.simulators.size());
    EXPECT_EQ(simulator, frame->top_child());
    EXPECT_TRUE(simulator->got(sim_cmd::kLoadChain));

    frame->dispatch(cmd::kSimulatorRestart); // a fresh simulator without a file
    settle_events();
    EXPECT_EQ((std::vector<std::string>{"/w/prog.s19", ""}), workbench.simulators);
    EXPECT_EQ(workbench.last_simulator, frame->simulator_window());
    EXPECT_EQ(2, frame->child_count());
}

TEST_F(FrameTest, go_to_line_sends_the_zero_based_line) {
    FakeChild* child = add(new FakeChild(kDocumentClass, "/w/a.asm"));
    for (const auto& [answer, expected] : {std::pair{0, -1}, std::pair{1, 0}, std::pair{12, 11}}) {
        SCOPED_TRACE(answer);
        child->commands.clear();
        documents.goto_answer = answer;
        frame->dispatch(cmd::kGoToLine);
        if (expected < 0) {
            EXPECT_TRUE(child->commands.empty());
        } else {
            ASSERT_EQ(1u, child->commands.size());
            EXPECT_EQ(cmd::kGoToLineToChild, child->commands[0].first);
            EXPECT_EQ(expected, child->commands[0].second);
        }
    }
}

TEST_F(FrameTest, new_and_open_use_the_source_dialog_and_its_directory) {
    dialogs.answers.push_back("/w/new/made.asm");
    frame->dispatch(cmd::kNew);
    ASSERT_EQ(1u, documents.opened.size());
    EXPECT_TRUE(documents.opened[0].is_new);
    EXPECT_TRUE(dialogs.requests[0].overwrite_prompt);
    EXPECT_EQ(FileDialogRequest::Mode::save, dialogs.requests[0].mode);
    EXPECT_EQ("asm", dialogs.requests[0].default_suffix);

    // The next dialog starts where the last file was chosen...
    dialogs.answers.push_back("/w/other/b.asm");
    messages.answers = {kBoxYes};
    frame->dispatch(cmd::kOpenKeepDirFirst + 2); // ...and this one puts it back afterwards
    EXPECT_EQ("/w/new", dialogs.requests[1].initial_dir);
    frame->dispatch(cmd::kAccelOpen); // Ctrl+O: cancelled
    EXPECT_EQ("/w/new", dialogs.requests[2].initial_dir);
    EXPECT_EQ(FileDialogRequest::Mode::open, dialogs.requests[2].mode);
    EXPECT_EQ(2u, documents.opened.size());
}

TEST_F(FrameTest, assemble_takes_the_document_on_top) {
    frame->dispatch(cmd::kAssemble); // nothing on top: no path, the file is asked for
    add(new FakeChild(kDocumentClass, "/w/src/prog.asm"));
    frame->dispatch(cmd::kAssemble);
    add(new FakeChild("KivOutputChild"));
    frame->dispatch(cmd::kAssemble); // not a document on top
    EXPECT_EQ((std::vector<std::string>{"", "/w/src/prog.asm", ""}), workbench.assembled);
}

TEST_F(FrameTest, fatal_error_shows_its_box_and_exits) {
    int closed = 0;
    QObject::connect(frame.get(), &KivFrame::closed, [&closed] { ++closed; });
    frame->fatal_error("(F1010) Symbol table overflow");
    ASSERT_EQ(1u, messages.shown.size());
    EXPECT_EQ(BoxKind::error, messages.shown[0].kind);
    EXPECT_EQ("TORVA 6 for RT12", messages.shown[0].title);
    EXPECT_EQ("FATAL ERROR: (F1010) Symbol table overflow, Closing TORVA 6 for RT12",
              messages.shown[0].text);
    EXPECT_EQ(1, closed);
}

TEST_F(FrameTest, about_runs_its_dialog) {
    frame->dispatch(cmd::kAbout);
    EXPECT_EQ(std::vector<std::string>{"IDD_ABOUT"}, dialogs.modal_dialogs);
}

TEST_F(FrameTest, command_line_opens_sources_and_warns_about_other_files) {
    const fs::path saved = fs::current_path();
    const std::string source = temp.write("prog.ASM", "");
    const std::string text = temp.write("notes.txt", "");
    struct Case {
        int line;
        std::string command_line;
        bool opens;
        std::string warning;
    };
    const Case cases[] = {
        {__LINE__, source, true, ""},
        {__LINE__, "\"" + source + "\"", true, ""},
        {__LINE__, text, false, "File '" + text + "', Don't recognise the file type..."},
        {__LINE__, temp.path().string(), false, ""}, // a start directory is no file
        {__LINE__, "", false, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        documents.opened.clear();
        messages.shown.clear();
        fs::current_path("/");
        frame->open_by_type(c.command_line);
        EXPECT_EQ(c.opens ? 1u : 0u, documents.opened.size());
        if (c.opens) {
            EXPECT_EQ(source, documents.opened[0].path);
            EXPECT_EQ(fs::canonical(temp.path()), fs::canonical(fs::current_path()));
        }
        if (c.warning.empty()) {
            EXPECT_TRUE(messages.shown.empty());
        } else {
            ASSERT_EQ(1u, messages.shown.size());
            EXPECT_EQ(BoxKind::warning, messages.shown[0].kind);
            EXPECT_EQ(c.warning, messages.shown[0].text);
        }
    }
    fs::current_path(saved);
}

TEST_F(FrameTest, windows_menu_lists_the_open_windows) {
    FakeChild* first = add(new FakeChild("KivOutputChild"));
    add(new FakeChild(kDocumentClass, "/w/b&c.asm"));
    open_menu(Popup::windows);
    std::vector<std::pair<std::string, bool>> entries;
    for (QAction* action : frame->menus()->popup(Popup::windows)->actions())
        if (action->isCheckable())
            entries.emplace_back(action->text().toStdString(), action->isChecked());
    EXPECT_EQ((std::vector<std::pair<std::string, bool>>{{"&1 KivOutputChild", false},
                                                         {"&2 /w/b&&c.asm", true}}),
              entries);
    frame->menus()->popup(Popup::windows)->actions()[4]->trigger();
    EXPECT_EQ(first, frame->top_child());

    frame->dispatch(cmd::kCloseAll);
    open_menu(Popup::windows); // the list goes with the windows
    EXPECT_EQ(3, frame->menus()->popup(Popup::windows)->actions().size());
}

TEST_F(FrameTest, shared_fonts_are_fixed_pitch_with_a_measured_cell) {
    const SharedFonts& fonts = frame->fonts();
    for (const QFont* font : {&fonts.screen, &fonts.cell, &fonts.large, &fonts.small})
        EXPECT_TRUE(QFontInfo(*font).fixedPitch()) << font->family().toStdString();
    EXPECT_GT(fonts.char_width, 0);
    EXPECT_GT(fonts.line_height, fonts.char_width);
    EXPECT_NEAR(fonts.line_height, QFontMetrics(fonts.cell).height(), 2);
    EXPECT_GT(fonts.large.pixelSize(), fonts.small.pixelSize());
}

} // namespace
} // namespace torva::test
