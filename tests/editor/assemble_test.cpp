// The Assemble command end to end: saving first, the file-name checks, the
// current directory, the Output window and its double click, and a picture
// of the IDE after an assembly with one error.
#include "editor_fixture.h"
#include "support/screenshot.h"

#include "editor/document_files.h"
#include "shell/control_ids.h"

#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QScrollBar>

#include <algorithm>

namespace torva::test {
namespace {

namespace fs = std::filesystem;

class AssembleTest : public EditorFixture {
protected:
    bool output_has(const std::string& line) const {
        const auto lines = output_lines();
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }
    void double_click_output_line(int n) {
        OutputWindow& output = *frame->output_window();
        const int row = n - output.store().first_visible();
        const QPointF at(5, row * output.line_height() + output.line_height() / 2);
        QMouseEvent event(QEvent::MouseButtonDblClick, at, output.viewport()->mapToGlobal(at),
                          Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(output.viewport(), &event);
    }
};

TEST_F(AssembleTest, command_line_is_fixed) {
    EXPECT_EQ(" -L -w -g -I \"/opt/t/bin/../include/machine/rt12\" \"/w/a b/p.asm\"",
              AssembleCommand::command_line("/opt/t/bin", "/w/a b/p.asm"));
}

TEST_F(AssembleTest, other_assemblers_syntax_is_a_remembered_setting) {
    const std::string path = write("other.asm", "        ORG $1000\n        MOVB #1, $20\n");
    open(path);
    QAction* item = frame->findChild<QAction*>(control_name(cmd::kAcceptOtherSyntax));
    ASSERT_NE(nullptr, item);
    frame->dispatch(cmd::kAssemble);
    EXPECT_TRUE(output_has("Hint: with Debug > Accept other assemblers' syntax (or OPTION "
                           "COMPAT) this source assembles."))
        << ::testing::PrintToString(output_lines());
    EXPECT_FALSE(fs::exists(dir() + "/other.s19"));

    frame->dispatch(cmd::kAcceptOtherSyntax); // the menu item ticks
    EXPECT_TRUE(item->isCheckable() && item->isChecked());
    QMenu* debug = frame->menuBar()->findChild<QMenu*>(QStringLiteral("Debug"));
    ASSERT_NE(nullptr, debug);
    debug->popup(frame->mapToGlobal(QPoint(40, 20)));
    QCoreApplication::processEvents();
    EXPECT_TRUE(save_screenshot(*debug, "menu_debug_other_syntax.png"));
    debug->close();
    frame->dispatch(cmd::kAssemble);
    EXPECT_TRUE(output_has("No Errors.")) << ::testing::PrintToString(output_lines());
    // The debug map's stamp heads the load file; the data follow unchanged.
    const std::string load_file = read_raw(dir() + "/other.s19").value_or("");
    EXPECT_TRUE(load_file.starts_with("S0"));
    EXPECT_EQ("S1081000180B010020A3\nS9031000EC\n", load_file.substr(load_file.find('\n') + 1));
    EXPECT_TRUE(fs::exists(dir() + "/other.dbg"));
    EXPECT_TRUE(AssembleCommand(nullptr).accepts_other_syntax()); // remembered

    frame->dispatch(cmd::kAcceptOtherSyntax);
    EXPECT_FALSE(item->isChecked());
    EXPECT_FALSE(AssembleCommand(nullptr).accepts_other_syntax());
    EXPECT_EQ(" -L -w -g -c -I \"/opt/t/bin/../include/machine/rt12\" \"/w/p.asm\"",
              AssembleCommand::command_line("/opt/t/bin", "/w/p.asm", true));
}

TEST_F(AssembleTest, saves_first_and_leaves_the_current_directory_alone) {
    const std::string path = write("prog.asm", "        ORG $1000\nSTART   LDAA #1\n");
    DocumentWindow* document = open(path);
    document->sci().send(sci::SCI_DOCUMENTEND);
    type_text(document, "        LDAB #2\n");
    ASSERT_TRUE(document->modified());
    const fs::path before = fs::current_path();

    frame->dispatch(cmd::kAssemble);

    EXPECT_EQ(before, fs::current_path());
    EXPECT_FALSE(document->modified());
    EXPECT_NE(std::string::npos, read_raw(path).value_or("").find("LDAB #2"));
    EXPECT_NE(std::string::npos, read_raw(dir() + "/prog.lst").value_or("").find("LDAB #2"));
    EXPECT_TRUE(fs::exists(dir() + "/prog.s19"));
    EXPECT_TRUE(output_has("No Errors.")) << ::testing::PrintToString(output_lines());
    EXPECT_EQ("Ready", frame->status_text().toStdString());
    EXPECT_EQ(path, assembler.last_assembled());
    EXPECT_EQ(dir(), dirs.source_dialog_dir);
    EXPECT_EQ(dir(), dirs.load_dialog_dir);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(AssembleTest, file_name_checks) {
    struct Case {
        int line;
        const char* name;
        std::optional<int> answer; // to the extension question, when asked
        const char* box;           // what the box says of the path
        bool assembled;
    };
    const Case kCases[] = {
        {__LINE__, "p.lst", std::nullopt,
         "' can't be assembled since the filename conflicts with assembler generated files", false},
        {__LINE__, "p.S19", std::nullopt,
         "' can't be assembled since the filename conflicts with assembler generated files", false},
        {__LINE__, "p.txt", kBoxNo, "' has wrong extension, assemble anyway?", false},
        {__LINE__, "q.txt", kBoxYes, "' has wrong extension, assemble anyway?", true},
        {__LINE__, "P.S12", std::nullopt, nullptr, true},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.line);
        messages.shown.clear();
        const std::string path = write(c.name, "        NOP\n");
        DocumentWindow* document = open(path);
        if (c.answer) messages.answers = {*c.answer};
        frame->dispatch(cmd::kAssemble);
        if (c.box != nullptr) {
            ASSERT_EQ(1u, messages.shown.size());
            EXPECT_EQ("'" + path + c.box, messages.shown[0].text);
        } else {
            EXPECT_TRUE(messages.shown.empty());
        }
        const std::string stem = fs::path(path).stem().string();
        EXPECT_EQ(c.assembled, fs::exists(dir() + "/" + stem + ".s19"));
        EXPECT_EQ(c.assembled, output_has("No Errors."));
        close(document);
        fs::remove(dir() + "/" + stem + ".s19");
    }
}

TEST_F(AssembleTest, without_a_document_the_file_is_asked_for) {
    frame->dispatch(cmd::kAssemble); // cancelled
    ASSERT_EQ(1u, dialogs.requests.size());
    EXPECT_EQ("Source File (.asm,.s12,.s)", dialogs.requests[0].filters.at(0).first);
    ASSERT_NE(nullptr, frame->output_window()); // shown and cleared all the same
    EXPECT_TRUE(output_lines().empty());
    EXPECT_TRUE(assembler.last_assembled().empty());

    const std::string path = write("picked.asm", "        NOP\n");
    dialogs.answers = {path};
    frame->dispatch(cmd::kAssemble);
    EXPECT_TRUE(fs::exists(dir() + "/picked.s19"));
    dialogs.answers = {std::nullopt};
    frame->dispatch(cmd::kAssemble);
    EXPECT_EQ(path, dialogs.requests.back().seed); // starts from the last one
}

TEST_F(AssembleTest, a_message_about_an_included_file_opens_that_file) {
    write("defs.inc", "        NOP\n        BOGUS\n");
    const std::string main = write("main.asm", "        ORG $1000\n        include \"defs.inc\"\n");
    open(main);
    frame->dispatch(cmd::kAssemble);
    // The message names the file as the assembler found it, beside the source.
    const auto lines = output_lines();
    const auto at = std::find_if(lines.begin(), lines.end(), [](const std::string& line) {
        return line.rfind("\"defs.inc\" (2)", 0) == 0;
    });
    ASSERT_NE(lines.end(), at) << ::testing::PrintToString(lines);
    ASSERT_NE(fs::current_path(), fs::path(dir())); // the source's directory is gone again

    double_click_output_line(static_cast<int>(at - lines.begin()));
    auto* included = dynamic_cast<DocumentWindow*>(frame->top_child());
    ASSERT_NE(nullptr, included);
    EXPECT_EQ(dir() + "/defs.inc", included->path());
    EXPECT_EQ(1, caret_line(included));
    EXPECT_TRUE(has_line_mark(included, 1));
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(AssembleTest, output_on_top_assembles_the_last_active_source) {
    const std::string first = write("first.asm", "        NOP\n");
    const std::string second = write("second.asm", "        NOP\n");
    open(first);
    DocumentWindow* source = open(second);
    source->parentWidget()->showMaximized();
    frame->dispatch(cmd::kAssemble);
    // The messages come to the front, out of the maximised editor's shadow.
    EXPECT_EQ(frame->output_window(), frame->top_child());
    EXPECT_FALSE(frame->output_window()->parentWidget()->isMaximized());
    EXPECT_FALSE(source->parentWidget()->isMaximized());

    open(write("defs.inc", "X EQU 1\n")); // not a source: it does not count
    activate(frame->output_window());
    fs::remove(dir() + "/second.s19");
    frame->dispatch(cmd::kAssemble); // the Output window is on top
    EXPECT_TRUE(dialogs.requests.empty());
    EXPECT_EQ(second, assembler.last_assembled());
    EXPECT_TRUE(fs::exists(dir() + "/second.s19"));

    frame->dispatch(cmd::kCloseAll);
    frame->dispatch(cmd::kCreateOutput);
    frame->dispatch(cmd::kAssemble); // no source open: the file is asked for
    EXPECT_EQ(1u, dialogs.requests.size());
}

TEST_F(AssembleTest, double_click_on_an_error_lands_on_its_line) {
    const std::string path =
        write("bad.asm", "        ORG $1000\n        NOP\n        BOGUS\n        NOP\n");
    DocumentWindow* document = open(path);
    frame->dispatch(cmd::kAssemble);
    const std::string error = "\"" + path + "\" (3): error: Illegal mnemonic";
    const auto lines = output_lines();
    const auto at = std::find(lines.begin(), lines.end(), error);
    ASSERT_NE(lines.end(), at) << ::testing::PrintToString(lines);
    EXPECT_FALSE(fs::exists(dir() + "/bad.s19")); // a failed run leaves none

    activate(frame->output_window());
    double_click_output_line(static_cast<int>(at - lines.begin()));
    EXPECT_EQ(document, frame->top_child());
    EXPECT_EQ(2, caret_line(document));
    EXPECT_TRUE(has_line_mark(document, 2));

    frame->dispatch(cmd::kAssemble); // a new run takes the mark away
    EXPECT_FALSE(has_line_mark(document, 2));
}

// The box of a fatal error closes the program; what the Output window
// holds when the box shows is what the user sees behind it.
class OutputAtFatalBox final : public MessageService {
public:
    explicit OutputAtFatalBox(KivFrame& frame) : frame_(frame) {}
    std::vector<std::string> lines;
    int show_box(BoxKind, const std::string&, const std::string& text) override {
        if (text.starts_with("FATAL ERROR:") && frame_.output_window() != nullptr)
            lines = frame_.output_window()->store().lines();
        return kBoxOk;
    }

private:
    KivFrame& frame_;
};

TEST_F(AssembleTest, a_fatal_error_is_shown_in_the_output_window) {
    std::string source;
    for (int i = 0; i <= 40000; ++i) {
        source += 'S';
        source += std::to_string(i);
        source += " EQU 1\n";
    }
    const std::string path = write("full.asm", source);
    open(path);
    OutputAtFatalBox boxes(*frame);
    frame->messages().set_service(boxes);
    frame->dispatch(cmd::kAssemble);
    frame->messages().set_service(messages);
    EXPECT_EQ(
        std::vector<std::string>{"\"" + path + "\" (40001): error: (F1010) Symbol table overflow"},
        boxes.lines);
}

TEST_F(AssembleTest, picture_of_an_assembly_with_one_error) {
    const fs::path example = source_root() / "examples" / "blink.asm";
    std::string text = read_raw(example.string()).value_or("");
    const std::string good = "         COMA                ; swap even and odd LEDs";
    const auto at = text.find(good);
    ASSERT_NE(std::string::npos, at);
    text.replace(at, good.size(), "         COMX  #1            ; swap even and odd LEDs");
    const std::string path = write("blink.asm", text);
    frame->dispatch(cmd::kCreateOutput);
    DocumentWindow* document = open(path);
    document->parentWidget()->setGeometry(0, 230, 900, 560);
    frame->dispatch(cmd::kAssemble);
    EXPECT_TRUE(output_has("-- 1 error(s).")) << ::testing::PrintToString(output_lines());
    double_click_output_line(0); // the error: its line gets the mark
    EXPECT_TRUE(has_line_mark(document, int(std::count(text.begin(), text.begin() + at, '\n'))));
    settle_events();
    document->sci().send(sci::SCI_COLOURISE, 0, -1);

    ASSERT_TRUE(save_screenshot(*frame, "editor_assemble.png"));
    EXPECT_GT(fs::file_size(screenshot_dir() / "editor_assemble.png"), 10000u);
}

} // namespace
} // namespace torva::test
