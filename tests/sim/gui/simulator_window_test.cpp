// The simulator window in a frame over scripted boxes and dialogs: opening
// through the frame's commands, the toolbar and panel, the timer-driven runs,
// breakpoints from the menus and the dialog, cell and register edits, the
// reload prompt, closing, and the screenshots.
#include "records/srecord_writer.h"
#include "shell/command_ids.h"
#include "shell/fakes.h"
#include "sim/gui/breakpoints_dialog.h"
#include "sim/gui/simulator_windows.h"
#include "sim/sim_commands.h"
#include "sim/simulated_board.h"
#include "support/screenshot.h"

#include <QAction>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QToolBar>

#include <functional>

namespace torva::test {
namespace {

// CLI; LDS #$3C80; LDAA #$55; then a loop: STAA $1800, BSR SUB, COMA,
// BRA loop. The IRQ handler follows at $100F: NOP, NOP, RTI. SUB at $1020:
// LDX #$0003, DBNE X,*, RTS.
const std::vector<uint8_t> kProgram = {0x10, 0xEF, 0xCF, 0x3C, 0x80, 0x86, 0x55, 0x7A, 0x18,
                                       0x00, 0x07, 0x14, 0x41, 0x20, 0xF8, 0xA7, 0xA7, 0x0B};
const std::vector<uint8_t> kIrqVector = {0x10, 0x0F};
const std::vector<uint8_t> kSub = {0xCE, 0x00, 0x03, 0x04, 0x35, 0xFD, 0x3D};

struct SimulatorWindowTest : FrameFixture {
    SimulatedBoard simulated{temp.path() / "bin"};
    Simulator& sim = simulated.simulator();
    SimulatorWindows windows{sim};
    int closings = 0;
    std::string path;

    void SetUp() override {
        FrameFixture::SetUp();
        FrameServices services = fake_services();
        services.simulators = &windows;
        frame->set_services(services);
        windows.attach({*frame, *frame, *frame});
        windows.hooks().closing = [this] { ++closings; };
        path = write_program(0x55);
    }
    std::string write_program(uint8_t pattern) {
        std::vector<uint8_t> code = kProgram;
        code[6] = pattern;
        return temp.write("prog.s19",
                          srecord_data(0x1000, code) + "\n" + srecord_data(0x1020, kSub) + "\n" +
                              srecord_data(0xFFF2, kIrqVector) + "\n" + srecord_end(0x1000) + "\n");
    }
    KivSimulatorChild& open() {
        dialogs.answers.push_back(path);
        frame->dispatch(cmd::kSimulator);
        EXPECT_NE(nullptr, windows.window());
        return *windows.window();
    }
    std::vector<std::string> box_texts() const {
        std::vector<std::string> texts;
        for (const auto& box : messages.shown)
            texts.push_back(box.text);
        return texts;
    }
};

TEST_F(SimulatorWindowTest, OpensOnceThroughTheFrameAndLoads) {
    KivSimulatorChild& window = open();
    EXPECT_EQ("RT12 Visual Simulator", window.windowTitle().toStdString());
    EXPECT_EQ(frame->simulator_window(), &window);
    EXPECT_EQ(0x1000, sim.cpu().regs.pc) << "the load chain ran";
    EXPECT_EQ(QSize(500, 466), window.size());
    open_menu(Popup::debug);
    EXPECT_FALSE(enabled(cmd::kSimulator));
    EXPECT_TRUE(enabled(sim_cmd::kRunRealTime));
    EXPECT_TRUE(enabled(sim_cmd::kStep));
    EXPECT_FALSE(enabled(sim_cmd::kHalt));
    frame->dispatch(cmd::kSimulatorNoFile);
    EXPECT_EQ(1, frame->child_count()) << "Simulator without a file only activates the window";
}

TEST_F(SimulatorWindowTest, TimerRunsToolbarEnablingAndHalt) {
    KivSimulatorChild& window = open();
    EXPECT_FALSE(window.toolbar_action(sim_cmd::kHalt)->isEnabled());
    EXPECT_TRUE(window.toolbar_action(sim_cmd::kReload)->isEnabled());
    window.toolbar_action(sim_cmd::kRunSlow)->trigger();
    EXPECT_TRUE(window.run_timer().isActive());
    EXPECT_EQ(100, window.run_timer().interval());
    for (QAction* action : window.toolbar().actions())
        EXPECT_EQ(action == window.toolbar_action(sim_cmd::kHalt), action->isEnabled());
    EXPECT_FALSE(window.step_button().isEnabled());
    const uint32_t bytes = sim.byte_counter();
    window.timer_tick();
    EXPECT_EQ(bytes + 3, sim.byte_counter()) << "Run Slow: one instruction per tick (LDS)";

    frame->dispatch(sim_cmd::kHalt); // forwarded by the frame to the window
    EXPECT_FALSE(window.run_timer().isActive());
    EXPECT_EQ(0x1005u, window.disassembly().address(window.disassembly().current_line()))
        << "the current line is the PC's";
    window.step_button().click();
    EXPECT_EQ(0x1007, sim.cpu().regs.pc);

    sim.breakpoints().add(0x1020, BreakState::kEnabled);
    window.toolbar_action(sim_cmd::kRunFast)->trigger();
    window.timer_tick();
    EXPECT_FALSE(sim.running());
    EXPECT_FALSE(window.run_timer().isActive()) << "the halt on the breakpoint stops the timer";
    EXPECT_EQ(0x1020, sim.cpu().regs.pc);
    EXPECT_EQ("Ready", frame->status_text().toStdString());
}

// The frame's Simulator button follows the menu item: while the window
// exists neither can pick another file, so a run is never halted behind the
// window's back with its timer still going.
TEST_F(SimulatorWindowTest, FrameSimulatorButtonFollowsTheMenuItem) {
    QAction* button =
        frame->toolbar()->findChild<QAction*>(QStringLiteral("tool%1").arg(cmd::kSimulator));
    ASSERT_NE(nullptr, button);
    EXPECT_TRUE(button->isEnabled());
    KivSimulatorChild& window = open();
    EXPECT_FALSE(button->isEnabled());
    uint64_t now = 0;
    sim.set_time_source([&] { return now; });
    frame->dispatch(sim_cmd::kRunRealTime);
    const size_t requests = dialogs.requests.size();
    frame->dispatch(cmd::kSimulator); // as the button would, were it enabled
    EXPECT_EQ(requests, dialogs.requests.size()) << "no file dialog";
    EXPECT_TRUE(sim.running());
    EXPECT_TRUE(window.run_timer().isActive());
    frame->dispatch(sim_cmd::kHalt);
    window.parentWidget()->close();
    settle_events();
    EXPECT_TRUE(button->isEnabled());
}

// Every way a run ends goes through the simulator's one halt, which the
// headless tests follow per cause; here the window's part: closing the
// window during a run ends it, and a tick that comes before the closed
// window is deleted runs nothing.
TEST_F(SimulatorWindowTest, ClosingTheWindowEndsARunAndSaysReady) {
    uint64_t now = 0;
    sim.set_time_source([&] { return now; });
    KivSimulatorChild& window = open();
    frame->dispatch(sim_cmd::kRunRealTime);
    for (int tick = 0; tick < 2; ++tick) { // the speed is known from the second
        now += 100'000'000;
        window.timer_tick();
    }
    ASSERT_TRUE(sim.running());
    EXPECT_EQ("Real time ×1.00 (classic cycles)", frame->status_text().toStdString());
    window.parentWidget()->close();
    now += 100'000'000;
    window.timer_tick();
    EXPECT_FALSE(window.run_timer().isActive());
    EXPECT_FALSE(sim.running());
    EXPECT_EQ("Ready", frame->status_text().toStdString());
    settle_events();
}

TEST_F(SimulatorWindowTest, BreakpointsFromTheLineMenuTheWindowMenuAndTheDialog) {
    KivSimulatorChild& window = open();
    // A click on a line offers the line's menu, elsewhere the window's: the
    // item chosen acts on what was under the pointer.
    int choice = sim_cmd::kSetBreak;
    window.set_menu_runner([&](QMenu&, QPoint) { return choice; });
    window.open_context_menu(window.line_rect(2).center()); // LDAA #$55 at $1005
    EXPECT_EQ(BreakState::kEnabled, sim.breakpoints().state_of(0x1005));
    EXPECT_EQ(-1, window.disassembly().selected());
    choice = sim_cmd::kDisableBreak;
    window.open_context_menu(window.line_rect(2).center());
    EXPECT_EQ(BreakState::kDisabled, sim.breakpoints().state_of(0x1005));

    choice = sim_cmd::kEnableBreakOnIo;
    window.open_context_menu(QPoint(250, 60));
    EXPECT_TRUE(sim.break_on_io());

    // While running the breakpoint items still work from the menu.
    window.toolbar_action(sim_cmd::kRunFast)->trigger();
    choice = sim_cmd::kClearAllBreaks;
    window.open_context_menu(QPoint(250, 60));
    EXPECT_FALSE(sim.break_on_io());
    EXPECT_EQ(0, sim.breakpoints().used_count());
    frame->dispatch(sim_cmd::kHalt);

    frame->dispatch(sim_cmd::kBreakpointTable);
    EXPECT_EQ("NEWBPDIALOG", dialogs.modal_dialogs.back());
    // The dialog's buttons reach its logic (whose rules BreakpointDialogTest
    // checks) and the errors reach the sink it was given.
    std::vector<std::string> errors;
    BreakpointsDialog dialog(sim.breakpoints(),
                             [&](const std::string& text) { errors.push_back(text); });
    dialog.field().setText("12G4");
    dialog.add_button().click();
    EXPECT_EQ((std::vector<std::string>{"Badly formed address"}), errors);
    dialog.field().setText("1020");
    dialog.add_button().click();
    dialog.list().setCurrentRow(0);
    dialog.toggle_button().click();
    EXPECT_EQ("1020 (Disabled)", dialog.list().item(0)->text().toStdString());
    EXPECT_EQ("&Enable", dialog.toggle_button().text().toStdString()) << "the button follows";
    dialog.remove_button().click();
    EXPECT_EQ(0, sim.breakpoints().used_count());
}

// A run goes on while the Breakpoints dialog is open: the temporary entry
// of "Goto here" it hits leaves the list as it leaves the table.
TEST_F(SimulatorWindowTest, BreakpointsDialogFollowsARun) {
    KivSimulatorChild& window = open();
    window.set_menu_runner([](QMenu&, QPoint) { return sim_cmd::kGotoHere; });
    window.open_context_menu(window.line_rect(6).center()); // BRA at $100D
    ASSERT_TRUE(sim.running());
    ASSERT_EQ(BreakState::kTemporary, sim.breakpoints().state_of(0x100D));
    std::vector<int> counts;
    dialogs.while_open = [&](QDialog& shown) {
        auto* dialog = dynamic_cast<BreakpointsDialog*>(&shown);
        ASSERT_NE(nullptr, dialog);
        counts.push_back(dialog->list().count());
        dialog->list().setCurrentRow(0);
        window.timer_tick();
        counts.push_back(dialog->list().count());
        EXPECT_FALSE(dialog->toggle_button().isEnabled());
        EXPECT_FALSE(dialog->remove_button().isEnabled());
    };
    frame->dispatch(sim_cmd::kBreakpointTable);
    EXPECT_FALSE(sim.running());
    EXPECT_EQ((std::vector<int>{1, 0}), counts);
}

// The pane's and the fields' rules are PanesTest's and RegisterFields';
// here the widgets reach them: the button, the cells, their read-only state
// after ROM write enable, the box of a bad address, and Apply.
TEST_F(SimulatorWindowTest, CellsAndRegisterFields) {
    KivSimulatorChild& window = open();
    const auto enter = [&](const char* text) {
        window.mem_button().click();
        EXPECT_FALSE(window.row_field(0).isReadOnly());
        window.row_field(0).setText(text);
        window.mem_button().click();
    };
    enter("1234");
    EXPECT_EQ("1230", window.row_field(0).text().toStdString());
    EXPECT_EQ("mem", window.mem_button().text().toStdString());
    emit window.cell(4).textEdited("7e");
    uint8_t byte = 0;
    sim.board().memory().mem_read_byte(0x1234, byte);
    EXPECT_EQ(0x7E, byte);
    enter("C000");
    EXPECT_TRUE(window.cell(0).isReadOnly());
    frame->dispatch(sim_cmd::kToggleRomWrite);
    EXPECT_FALSE(window.cell(0).isReadOnly());
    enter("XYZ");
    EXPECT_EQ("Badly formed address", box_texts().back());
    EXPECT_EQ("C000", window.row_field(0).text().toStdString());

    EXPECT_FALSE(window.apply_button().isEnabled());
    window.register_field(2).setText("1234"); // X
    emit window.register_field(2).textEdited("1234");
    EXPECT_TRUE(window.apply_button().isEnabled());
    window.apply_button().click();
    EXPECT_EQ(0x1234, sim.cpu().regs.x);
    EXPECT_FALSE(window.apply_button().isEnabled());

    // A field edited before a run does not leave "Apply" enabled during it.
    emit window.register_field(2).textEdited("1234");
    ASSERT_TRUE(window.apply_button().isEnabled());
    window.toolbar_action(sim_cmd::kRunFast)->trigger();
    EXPECT_FALSE(window.apply_button().isEnabled());
    window.toolbar_action(sim_cmd::kHalt)->trigger();
}

// The counters show their whole count on the dark strip, clear of the "C"
// buttons, however many digits it has; the memory pane has its column
// headings; the window cannot be made larger than its picture.
TEST_F(SimulatorWindowTest, CountersHeadingsAndSize) {
    KivSimulatorChild& window = open();
    uint64_t now = 0;
    sim.set_time_source([&] { return now; });
    frame->dispatch(sim_cmd::kRunRealTime);
    while (sim.cycle_counter() < 100'000'000) {
        now += 100'000'000;
        window.timer_tick();
    }
    frame->dispatch(sim_cmd::kHalt);
    const QImage image = window.grab().toImage();
    const QFontMetrics metrics(window.register_field(0).font());
    const int digit = metrics.horizontalAdvance(QLatin1Char('0'));
    const int left = 4 * metrics.averageCharWidth() + 176;
    const auto strip = [](QColor c) { return c.red() < 60 && c.blue() - c.red() > 20; };
    const auto ink = [](QColor c) { return c.red() > 220 && c.green() > 220 && c.blue() > 220; };
    for (const auto& [y, count] :
         {std::pair{97, sim.cycle_counter()}, std::pair{114, sim.byte_counter()}}) {
        const std::string text = std::to_string(count);
        SCOPED_TRACE(text);
        // Each digit's cell holds the strip's colour and the text's.
        for (size_t i = 0; i < text.size(); ++i) {
            bool on_strip = false, drawn = false;
            for (int x = left + int(i) * digit; x < left + int(i + 1) * digit; ++x)
                for (int row = y; row < y + metrics.height(); ++row) {
                    on_strip = on_strip || strip(image.pixelColor(x, row));
                    drawn = drawn || ink(image.pixelColor(x, row));
                }
            EXPECT_TRUE(on_strip && drawn) << "digit " << i;
        }
    }

    // A heading over each column, in the row above the cells.
    for (int column = 0; column < 16; ++column) {
        const QRect cell = window.cell(column).geometry();
        int dark = 0;
        for (int x = cell.left(); x <= cell.right(); ++x)
            for (int y = cell.top() - 15; y < cell.top(); ++y)
                dark += image.pixelColor(x, y).lightness() < 110;
        EXPECT_GT(dark, 4) << "column " << column;
    }

    auto* sub = qobject_cast<QMdiSubWindow*>(window.parentWidget());
    ASSERT_NE(nullptr, sub);
    EXPECT_FALSE(sub->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(sub->windowFlags() & Qt::WindowMinimizeButtonHint);
    const QSize normal = sub->size();
    sub->showMaximized();
    settle_events();
    EXPECT_EQ(QSize(500, 466), window.size());
    EXPECT_LE(sub->width(), normal.width());
    EXPECT_LE(sub->height(), normal.height());
    sub->showNormal();
}

TEST_F(SimulatorWindowTest, ReloadPromptAsksAboutTheFirstRebuild) {
    KivSimulatorChild& window = open();
    window.child_activated();
    EXPECT_TRUE(messages.shown.empty());
    path = write_program(0xAA);
    std::filesystem::last_write_time(path, std::filesystem::last_write_time(path) +
                                               std::chrono::seconds(5));
    messages.answers = {kBoxYes};
    window.child_activated();
    ASSERT_EQ(1u, messages.shown.size());
    EXPECT_EQ("An updated Loadfile exists, reload it?", messages.shown[0].text);
    uint8_t byte = 0;
    sim.board().memory().mem_read_byte(0x1006, byte);
    EXPECT_EQ(0xAA, byte);
}

TEST_F(SimulatorWindowTest, ClosingKeepsTheSimulatorAndTellsTheHooks) {
    KivSimulatorChild& window = open();
    window.toolbar_action(sim_cmd::kRunFast)->trigger();
    frame->dispatch(cmd::kSimulatorRestart); // restart: a fresh window without a file
    settle_events();
    EXPECT_EQ(1, closings);
    EXPECT_FALSE(sim.running());
    ASSERT_NE(nullptr, windows.window());
    // The new window's creation resets with clearing, as every creation
    // does; the load file is the one the simulator kept.
    EXPECT_EQ(path, sim.load_file().load_file_path);
    EXPECT_EQ(0x1000, sim.cpu().regs.pc);
    EXPECT_TRUE(sim.ui_bound());
}

// The cycle model is chosen from the window's menu, which ticks the one in
// use; a run's status names it, and the choice is remembered for the next
// simulator. (What each model counts is the CPU's tests'; that Run Real
// Time paces by the counted cycles is RunMendsTest's.)
TEST_F(SimulatorWindowTest, CycleModelFromTheMenuIsUsedAndRemembered) {
    KivSimulatorChild& window = open();
    std::vector<std::string> offered;
    int choice = 0;
    window.set_menu_runner([&](QMenu& menu, QPoint) {
        offered.clear();
        for (QAction* action : menu.actions())
            if (action->menu() != nullptr && action->text() == QStringLiteral("Cycle &model"))
                for (QAction* item : action->menu()->actions())
                    offered.push_back((item->isChecked() ? "* " : "  ") +
                                      item->text().toStdString());
        return choice;
    });
    uint64_t now = 0;
    sim.set_time_source([&] { return now; });
    for (const auto& [model, note] :
         {std::pair{CycleModel::Cpu12, "CPU12"}, std::pair{CycleModel::Classic, "classic"}}) {
        SCOPED_TRACE(note);
        choice = sim_cmd::kFirstCycleModel + (model == CycleModel::Cpu12 ? 1 : 0);
        window.open_context_menu(QPoint(250, 60));
        EXPECT_EQ(model, sim.cycle_model());
        frame->dispatch(sim_cmd::kRunRealTime);
        for (int tick = 0; tick < 2; ++tick) {
            now += 100'000'000;
            window.timer_tick();
        }
        EXPECT_EQ(std::string("Real time ×1.00 (") + note + " cycles)",
                  frame->status_text().toStdString());
        frame->dispatch(sim_cmd::kHalt);
        if (model == CycleModel::Cpu12) {
            SimulatedBoard other{temp.path() / "bin"};
            const SimulatorWindows remembered(other.simulator());
            EXPECT_EQ(CycleModel::Cpu12, other.simulator().cycle_model());
            choice = 0;
            window.open_context_menu(QPoint(250, 60));
            EXPECT_EQ((std::vector<std::string>{"  &Classic", "* CPU&12 (as the board)"}), offered);
        }
    }
}

TEST_F(SimulatorWindowTest, Screenshots) {
    KivSimulatorChild& window = open();
    sim.breakpoints().add(0x1007, BreakState::kEnabled);
    sim.breakpoints().add(0x100D, BreakState::kDisabled);
    window.mem_button().click();
    window.row_field(0).setText("1000");
    window.mem_button().click();
    // Halted in the middle of the program with an IRQ in service: the
    // interrupt's entry moved the stack pointer since the last paint.
    sim.set_break_on_io(true);
    for (int i = 0; i < 3; ++i)
        window.step_button().click();
    frame->resize(1000, 700);
    settle_events();
    frame->dispatch(sim_cmd::kActivateIrq);
    window.step_button().click();
    EXPECT_TRUE(sim.in_service(InterruptSource::kIrq));
    EXPECT_EQ(0x100F, sim.cpu().regs.pc);
    // One paint for both pictures (the arrow is red only in the first paint
    // after the stack pointer moved): the frame, and the window alone as the
    // manual shows it.
    const QPixmap shot = frame->grab();
    EXPECT_TRUE(shot.save(QString::fromStdString((screenshot_dir() / "simulator.png").string())));
    const QWidget& sub = *window.parentWidget();
    EXPECT_TRUE(
        shot.copy(QRect(sub.mapTo(frame.get(), QPoint(0, 0)), sub.size()))
            .save(QString::fromStdString((screenshot_dir() / "simulator_window.png").string())));

    sim.set_break_on_io(false);
    sim.breakpoints().remove(0x1007);
    uint64_t now = 0;
    sim.set_time_source([&] { return now; });
    frame->dispatch(sim_cmd::kRunRealTime);
    // Past ten million: the counters' eight digits stay readable.
    while (sim.byte_counter() < 10'000'000) {
        now += 100'000'000;
        window.timer_tick();
    }
    settle_events();
    EXPECT_EQ("Real time ×1.00 (classic cycles)", frame->status_text().toStdString());
    EXPECT_TRUE(save_screenshot(*frame, "simulator_running.png"));
    frame->dispatch(sim_cmd::kHalt);
}

} // namespace
} // namespace torva::test
