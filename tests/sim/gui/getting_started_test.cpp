// The manual's Getting started chapter, step by step as it is written: the
// program of the chapter typed into a new file with a mistake, assembled,
// corrected from the Output window, stepped, run to a breakpoint with its
// text on the simulated serial line, its switches and LEDs connected, then
// downloaded to the monitor and started with "g 1000" (the README's monitor
// workflow, step for step: Load debugger, OK, Reset CPU, Run Real Time,
// Load New in the terminal, "g 1000"). The pictures the chapter shows are
// saved under build/screenshots/getting_started_*.png; F1 in the simulator
// window opens the manual at its chapter.
#include "editor/document_window.h"
#include "io/device_table.h"
#include "iosim/gui/port_window.h"
#include "shell/command_ids.h"
#include "shell/help_window.h"
#include "sim/debug_map.h"
#include "sim/gui/simulator_layout.h"
#include "sim/sim_commands.h"
#include "support/mouse_click.h"
#include "support/screenshot.h"
#include "terminal/port_numbering.h"
#include "terminal/terminal_commands.h"

#include "terminal/gui/terminal_fixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QTextBrowser>
#include <Qsci/qsciscintillabase.h>

#include <fstream>
#include <regex>
#include <sstream>

namespace torva::test {
namespace {

namespace fs = std::filesystem;

std::string chapter() {
    std::ifstream in(fs::path(std::getenv("TORVA_SOURCE_DIR")) / "docs/getting_started.md");
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The program the chapter lists, as the student types it.
std::string chapter_program() {
    const std::string text = chapter();
    const auto start = text.find("```asm\n");
    const auto end = text.find("```", start + 7);
    return start == std::string::npos ? std::string() : text.substr(start + 7, end - start - 7);
}

// The simulator window with its parts numbered and named beside it, for the
// simulator chapter: simulator_parts.png.
void save_labelled_parts(KivSimulatorChild& window) {
    struct Part {
        QRect at;
        const char* name;
        const char* does;
    };
    using namespace sim_layout;
    const Part parts[] = {
        {{0, 0, kWidth, kToolbarHeight},
         "Toolbar",
         "load, reload, breakpoints, resets, runs, halt, setup"},
        {kTargetBox.rect, "Target setup", "the board description in use"},
        {kInterruptBox.rect, "Interrupts", "raise IRQ or XIRQ; lit while a handler runs"},
        {kStatusBox.rect, "Status", "break on IO, break on IRQ, running"},
        {kControlBox.rect, "Control", "exception and ROM write lamps, cycle and byte counters"},
        {kStackBox.rect, "Stack", "bytes around SP, the arrow at SP"},
        {kProgramBox.rect, "Program", "disassembly from PC, Step; right-click for breakpoints"},
        {kRegisterBox.rect, "Registers", "type new values while halted, then Apply"},
        {kMemoryBox.rect, "Memory", "64 bytes; type into a cell to change it"},
    };
    const QPixmap shot = window.grab();
    QPixmap labelled(shot.width() + 380, shot.height());
    labelled.fill(Qt::white);
    QPainter painter(&labelled);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.drawPixmap(0, 0, shot);
    const QColor badge(0xC0, 0x1F, 0x2F);
    int y = 14;
    int n = 0;
    for (const Part& part : parts) {
        const QString number = QString::number(++n);
        for (const QPoint centre :
             {part.at.topRight() + QPoint(-12, 12), QPoint(shot.width() + 20, y + 8)}) {
            painter.setPen(Qt::NoPen);
            painter.setBrush(badge);
            painter.drawEllipse(centre, 10, 10);
            painter.setPen(Qt::white);
            painter.setFont(QFont(QStringLiteral("Arial"), 9, QFont::Bold));
            painter.drawText(QRect(centre - QPoint(10, 10), QSize(20, 20)), Qt::AlignCenter,
                             number);
        }
        painter.setPen(Qt::black);
        painter.setFont(QFont(QStringLiteral("Arial"), 10, QFont::Bold));
        painter.drawText(QPoint(shot.width() + 38, y + 13), QString::fromLatin1(part.name));
        painter.setFont(QFont(QStringLiteral("Arial"), 9));
        painter.setPen(QColor(0x50, 0x58, 0x60));
        painter.drawText(QRect(shot.width() + 38, y + 17, 330, 30), Qt::TextWordWrap,
                         QString::fromLatin1(part.does));
        y += 50;
    }
    painter.end();
    labelled.save(QString::fromStdString((screenshot_dir() / "simulator_parts.png").string()));
}

class GettingStarted : public SimulatedBoardTerminalFixture {
protected:
    void press(int id) { simulator->toolbar_action(id)->trigger(); }
    // Chooses a command from the menu a right click on a program line opens.
    void line_menu(int line, int choice) {
        simulator->set_menu_runner([choice](QMenu&, QPoint) { return choice; });
        simulator->open_context_menu(simulator->line_rect(line).center());
    }
    std::vector<std::string> output() const {
        OutputWindow* window = s.frame->output_window();
        return window != nullptr ? window->store().lines() : std::vector<std::string>{};
    }
    bool chapter_says(const std::string& text) const {
        return chapter().find(text) != std::string::npos;
    }
};

TEST_F(GettingStarted, FromAnEmptyEditorToHelloFromADownloadedProgram) {
    // 1. File > New "hello.asm", the chapter's program typed in with a typo.
    const fs::path source = s.temp.path() / "hello.asm";
    std::string program = chapter_program();
    const auto right = program.find("STAA  OUTPORT ");
    ASSERT_NE(std::string::npos, right) << "the chapter lists no program";
    program.replace(right, 14, "STAA  OUTPRT  ");
    s.dialogs.answers.push_back(source.string());
    s.frame->dispatch(cmd::kNew);
    auto* editor = s.frame->findChild<QsciScintillaBase*>(QStringLiteral("KivEditorClass"));
    ASSERT_NE(nullptr, editor);
    editor->SendScintilla(QsciScintillaBase::SCI_ADDTEXT, program.size(), program.c_str());
    editor->SendScintilla(QsciScintillaBase::SCI_GOTOPOS, 0);
    save_screenshot(*s.frame, "getting_started_editor.png");

    // 2. Assemble: the error as the chapter quotes it; its double click
    // puts the caret on the line; corrected, the program assembles.
    s.frame->dispatch(cmd::kAssemble);
    const auto lines = output();
    const auto error = std::find_if(lines.begin(), lines.end(), [](const std::string& line) {
        return line.find("OUTPRT") != std::string::npos;
    });
    ASSERT_NE(lines.end(), error);
    // The chapter shows the message for a file in /home/you/rt12.
    std::string as_shown = *error;
    as_shown.replace(0, s.temp.path().string().size() + 1, "\"/home/you/rt12");
    EXPECT_TRUE(chapter_says(as_shown)) << as_shown;
    save_screenshot(*s.frame, "getting_started_error.png");
    double_click_output_line(*s.frame->output_window(), static_cast<int>(error - lines.begin()));
    const auto caret = editor->SendScintilla(QsciScintillaBase::SCI_GETCURRENTPOS);
    const auto line = editor->SendScintilla(QsciScintillaBase::SCI_LINEFROMPOSITION, caret);
    const std::smatch at = [&] {
        std::smatch m;
        std::regex_search(*error, m, std::regex("\\((\\d+)\\)"));
        return m;
    }();
    EXPECT_EQ(std::stol(at[1]) - 1, line);
    const auto from = editor->SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE, line);
    const auto to = editor->SendScintilla(QsciScintillaBase::SCI_GETLINEENDPOSITION, line);
    editor->SendScintilla(QsciScintillaBase::SCI_SETTARGETSTART, from);
    editor->SendScintilla(QsciScintillaBase::SCI_SETTARGETEND, to);
    const std::string fixed = "         STAA  OUTPORT       ; light the matching LEDs";
    editor->SendScintilla(QsciScintillaBase::SCI_REPLACETARGET, fixed.size(), fixed.c_str());
    s.frame->dispatch(cmd::kAssemble);
    ASSERT_EQ("No Errors.", output().back());
    EXPECT_TRUE(chapter_says("says `No Errors.`"));
    const fs::path load_file = s.temp.path() / "hello.s19";
    ASSERT_TRUE(fs::exists(s.temp.path() / "hello.lst"));

    // 3. Debug > Simulator, and steps.
    ASSERT_TRUE(s.open_simulator(load_file));
    simulator = s.workbench.simulator_windows().window();
    Simulator& sim = s.workbench.simulated_board().simulator();
    sim.set_time_source([this] { return now; });
    EXPECT_EQ(0x1000, sim.cpu().regs.pc);
    simulator->step_button().click();
    EXPECT_EQ(0x3C80, sim.cpu().regs.sp);
    for (int step = 0; step < 3; ++step)
        simulator->step_button().click();
    EXPECT_NE(0, sim.cpu().regs.x);

    // 4. The terminal on the simulated line, a breakpoint on COPY, Run Fast.
    TerminalWindow* terminal = open_terminal(kSimulatedPortFirst);
    ASSERT_NE(nullptr, terminal);
    // F9 on the line of COPY in the source: COPY's line is below the
    // Program box's twelve lines, under its label lines.
    const std::string source_text = [&] {
        std::string text(size_t(editor->SendScintilla(QsciScintillaBase::SCI_GETLENGTH)), '\0');
        editor->SendScintilla(QsciScintillaBase::SCI_GETTEXT, text.size() + 1, text.data());
        return text;
    }();
    const size_t copy_at = source_text.find("\nCOPY ");
    ASSERT_NE(std::string::npos, copy_at) << "no line of COPY as the chapter names it";
    editor->SendScintilla(QsciScintillaBase::SCI_GOTOPOS, copy_at + 1);
    s.frame->dispatch(cmd::kToggleBreakpoint); // F9
    ASSERT_TRUE(sim.load_file().debug_map);
    const uint32_t copy_address = sim.load_file().debug_map->symbol("COPY")->value;
    ASSERT_EQ(BreakState::kEnabled, sim.breakpoints().state_of(copy_address));
    s.frame->activate_child(simulator);
    press(sim_cmd::kRunFast);
    ASSERT_TRUE(run_until([&] { return !sim.running(); }, 8000, [&] { step(*terminal); }));
    EXPECT_EQ(copy_address, sim.cpu().regs.pc);
    ASSERT_TRUE(wait_for_text(*terminal, "Hello")) << screen(*terminal);
    save_screenshot(*simulator->parentWidget(), "getting_started_breakpoint.png");
    save_labelled_parts(*simulator);
    line_menu(simulator->disassembly().current_line(), sim_cmd::kRemoveBreak);
    EXPECT_EQ(0, sim.breakpoints().used_count());

    // 5. An Outport at $400 and an Inport at $600; switch 0 lights LED 0.
    s.dialogs.while_open = [](QDialog& dialog) {
        if (dialog.objectName() != "RT12TARGETSETUP") return;
        for (const int row : {bus_row::kOutport, bus_row::kInport}) {
            dialog.findChild<QListWidget*>(QStringLiteral("id1103"))->setCurrentRow(row);
            dialog.findChild<QPushButton*>(QStringLiteral("id1104"))->click();
        }
    };
    press(sim_cmd::kSimulatorSetup);
    s.dialogs.while_open = {};
    settle_events();
    Board& board = s.workbench.simulated_board().board();
    auto* leds = dynamic_cast<PortWindow*>(
        s.workbench.device_windows().window(board.setup().row_value(bus_row::kOutport)));
    auto* switches = dynamic_cast<PortWindow*>(
        s.workbench.device_windows().window(board.setup().row_value(bus_row::kInport)));
    ASSERT_NE(nullptr, leds);
    ASSERT_NE(nullptr, switches);
    std::vector<uint8_t> written;
    sim.board().routing().set_device_write_observer([&](uint32_t address, uint8_t byte) {
        if (address == 0x400) written.push_back(byte);
    });
    press(sim_cmd::kRunRealTime);
    click(*switches, switches->switch_rect(0).center());
    for (int tick = 0; tick < 5; ++tick)
        step(*terminal);
    ASSERT_FALSE(written.empty());
    EXPECT_EQ(0x01, written.back());
    sim.board().routing().set_device_write_observer({});
    press(sim_cmd::kHalt);
    leds->refresh();
    switches->refresh();
    {
        const QPixmap left = switches->grab();
        const QPixmap right = leds->grab();
        QPixmap both(left.width() + right.width() + 12, std::max(left.height(), right.height()));
        both.fill(Qt::white);
        QPainter painter(&both);
        painter.drawPixmap(0, 0, left);
        painter.drawPixmap(left.width() + 12, 0, right);
        painter.end();
        both.save(
            QString::fromStdString((screenshot_dir() / "getting_started_devices.png").string()));
    }

    // 6. Load debugger, Reset CPU, Run Real Time: the monitor's prompt.
    s.dialogs.while_open = [](QDialog& dialog) {
        if (dialog.objectName() == "RT12TARGETSETUP")
            dialog.findChild<QCheckBox*>(QStringLiteral("id1102"))->click();
    };
    press(sim_cmd::kSimulatorSetup);
    s.dialogs.while_open = {};
    press(sim_cmd::kResetCpu);
    press(sim_cmd::kRunRealTime);
    ASSERT_TRUE(wait_for_text(*terminal, "RT12 Monitor 1.0")) << screen(*terminal);

    // 7. Load New with hello.s19, then "g 1000".
    s.dialogs.answers.push_back(load_file.string());
    terminal->run_menu_choice(terminal_cmd::kDownload);
    ASSERT_TRUE(wait_for_text(*terminal, " bytes", 20000)) << screen(*terminal);
    std::smatch loaded;
    const std::string shown = screen(*terminal);
    ASSERT_TRUE(std::regex_search(shown, loaded, std::regex("Loaded \\d+ bytes")));
    EXPECT_TRUE(chapter_says(loaded.str())) << loaded.str();
    ASSERT_TRUE(run_until([&] { return !terminal->session().download_in_progress(); }, 5000,
                          [&] { step(*terminal); }));
    const auto hellos = [&] {
        const std::string text = screen(*terminal);
        int n = 0;
        for (auto at = text.find("Hello"); at != std::string::npos; at = text.find("Hello", at + 1))
            ++n;
        return n;
    };
    const int before = hellos();
    type(*terminal, "g 1000");
    EXPECT_TRUE(run_until([&] { return hellos() > before; }, 8000, [&] { step(*terminal); }))
        << screen(*terminal);
    save_screenshot(*terminal->parentWidget(), "getting_started_hello.png");
    press(sim_cmd::kHalt);

    // F1 in the simulator window: the manual at its chapter.
    const fs::path manual = fs::path(std::getenv("TORVA_BUILD_DIR")) / "doc/Torva6_RT12.html";
    if (!fs::exists(manual)) return;
    s.frame->help().set_manual(manual.string());
    QKeyEvent f1(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
    QApplication::sendEvent(&simulator->step_button(), &f1);
    ASSERT_NE(nullptr, s.frame->help().window());
    EXPECT_EQ("simulator", s.frame->help().window()->browser().source().fragment().toStdString());
}

} // namespace
} // namespace torva::test
