// A student's session with devices, through the whole program's wiring: the
// switches example is assembled and loaded, Simulator Setup connects an
// Outport at $400 and an Inport at $600 (the device selection offers each
// port's first type), Run Real Time runs it, and flipping switch 2 in the
// Inport's window lights LED 2 in the Outport's window. The blink example
// blinks its LEDs four times a second, as the eye would see them; device
// windows find a free place beside the simulator window, name their row,
// come back with the next simulator window, and pass on the run keys.
#include "device_window_fixture.h"

#include "io/device_table.h"
#include "iosim/gui/port_window.h"
#include "shell/command_ids.h"
#include "sim/sim_commands.h"
#include "support/mouse_click.h"
#include "support/screenshot.h"
#include "support/student_session.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPushButton>

#include <functional>

namespace torva::test {
namespace {

void connect_row(QDialog& setup, int row) {
    setup.findChild<QListWidget*>(QStringLiteral("id1103"))->setCurrentRow(row);
    setup.findChild<QPushButton*>(QStringLiteral("id1104"))->click();
}

bool lit(PortWindow& window, int bit) {
    window.refresh();
    const QColor c = window.grab().toImage().pixelColor(window.led_rect(bit).center());
    return c.red() > 200 && c.green() < 110;
}

// How an LED is painted: 0 dark, 2 fully lit, 1 in between (partly lit).
int painted_level(PortWindow& window, int bit) {
    const QColor c = window.grab().toImage().pixelColor(window.led_rect(bit).center());
    return c.red() > 200 ? 2 : c.red() < 110 ? 0 : 1;
}

// The frame's key press as the window system would deliver it to a widget.
void press_key(QWidget& widget, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QKeyEvent event(QEvent::KeyPress, key, modifiers);
    QApplication::sendEvent(&widget, &event);
}

// The simulator window's sub-window, in global coordinates.
QRect simulator_area(Workbench& workbench) {
    const QWidget* sub = workbench.simulator_windows().window()->parentWidget();
    return QRect(sub->mapToGlobal(QPoint(0, 0)), sub->size());
}

// An example loaded in the simulator, Simulator Setup answered by `setup`,
// and the simulator on a clock the test moves.
class DevicesEndToEnd : public ::testing::Test {
protected:
    void set_up(const std::string& example, std::function<void(QDialog&)> setup) {
        ASSERT_TRUE(student.open_simulator(student.assemble_example(example)));
        student.dialogs.while_open = std::move(setup);
        frame->dispatch(sim_cmd::kSimulatorSetup);
        settle_events();
        sim().set_time_source([this] { return now; });
    }
    Simulator& sim() { return workbench.simulated_board().simulator(); }
    // The window of the device connected in a row of the board.
    QWidget* device_window(int row) {
        return workbench.device_windows().window(
            workbench.simulated_board().board().setup().row_value(row));
    }

    StudentSession student;
    Workbench& workbench = student.workbench;
    KivFrame* frame = student.frame.get();
    uint64_t now = 0;
};

TEST_F(DevicesEndToEnd, SwitchFlippedInItsWindowLightsItsLed) {
    set_up("switches", [](QDialog& dialog) {
        if (dialog.objectName() != "RT12TARGETSETUP") return;
        connect_row(dialog, bus_row::kOutport);
        connect_row(dialog, bus_row::kInport);
    });
    EXPECT_EQ((std::vector<std::string>{"RT12TARGETSETUP", "IOSETUPDIALOG", "IOSETUPDIALOG"}),
              student.dialogs.modal_dialogs);
    auto* leds = dynamic_cast<PortWindow*>(device_window(bus_row::kOutport));
    auto* switches = dynamic_cast<PortWindow*>(device_window(bus_row::kInport));
    ASSERT_NE(nullptr, leds);
    ASSERT_NE(nullptr, switches);
    EXPECT_EQ("Outport $400 - Outport at 400", leds->windowTitle().toStdString());
    EXPECT_EQ("Inport $600 - Inport at 600", switches->windowTitle().toStdString());
    EXPECT_TRUE(leds->isVisible());

    frame->dispatch(sim_cmd::kRunRealTime);
    ASSERT_TRUE(sim().running());
    auto run_a_while = [&] {
        for (int tick = 0; tick < 3; ++tick) {
            now += 100'000'000;
            workbench.simulator_windows().window()->timer_tick();
        }
    };
    run_a_while();
    EXPECT_FALSE(lit(*leds, 2));

    click(*switches, switches->switch_rect(2).center());
    run_a_while();
    EXPECT_TRUE(lit(*leds, 2));
    EXPECT_FALSE(lit(*leds, 1));
    EXPECT_FALSE(lit(*leds, 3));

    frame->dispatch(sim_cmd::kHalt);
}

// examples/blink.asm at the board's 8 MHz, frame by frame as the run timer
// gives them (its 16 ms run a little late, as a busy host fires them) for
// one simulated second: LED 0 blinks four times, LED 1 the
// other way round, a frame in which an LED changed shows it partly lit, and
// every frame that changed an LED repaints its window.
TEST_F(DevicesEndToEnd, BlinkBlinksFourTimesASecondAsTheEyeSeesIt) {
    set_up("blink", [](QDialog& dialog) {
        if (dialog.objectName() == "RT12TARGETSETUP") connect_row(dialog, bus_row::kOutport);
    });
    auto* leds = dynamic_cast<PortWindow*>(device_window(bus_row::kOutport));
    ASSERT_NE(nullptr, leds);

    KivSimulatorChild* window = workbench.simulator_windows().window();
    frame->dispatch(sim_cmd::kRunRealTime);
    EXPECT_EQ(16, window->run_timer().interval());
    PaintCounter counter;
    leds->installEventFilter(&counter);
    std::vector<int> levels;
    bool shot = false;
    int changed_frames = 0, painted_changes = 0;
    for (int shown = 0; shown < 59; ++shown) {
        now += 17'000'000;
        window->timer_tick();
        counter.paints = 0;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
        const int painted = counter.paints;
        const int level = painted_level(*leds, 0);
        // LED 1 is lit while LED 0 is not (both partly lit as they swap).
        if (const int other = painted_level(*leds, 1); level != 1 && other != 1) {
            EXPECT_EQ(2 - level, other) << "frame " << shown;
        }
        if (!levels.empty() && level != levels.back()) {
            ++changed_frames;
            painted_changes += painted > 0;
        }
        levels.push_back(level);
        if (level == 1 && !shot) shot = save_screenshot(*leds, "blink_leds.png");
    }
    leds->removeEventFilter(&counter);
    frame->dispatch(sim_cmd::kHalt);

    int blinks = 0;
    for (size_t i = 1; i < levels.size(); ++i)
        blinks += levels[i] == 2 && levels[i - 1] != 2;
    EXPECT_NEAR(4, blinks, 1);
    EXPECT_TRUE(shot) << "some frame shows an LED partly lit";
    EXPECT_EQ(changed_frames, painted_changes);
}

// Port A and Port B of the bare board both sit at $400: their windows name
// their rows, open beside the simulator window, each in a free spot, and
// come back with the next simulator window. A switch clicked in a device
// window leaves the run keys working, and so do the Debug menu's items.
TEST_F(DevicesEndToEnd, DeviceWindowsBesideTheSimulatorNamedForTheirRows) {
    int selections = 0;
    set_up("switches", [&](QDialog& dialog) {
        if (dialog.objectName() == "IOSETUPDIALOG") {
            // Port A: SevenSegment; Port B: HexDisplay.
            dialog.findChild<QListWidget*>(QStringLiteral("id1201"))
                ->setCurrentRow(selections++ == 0 ? 4 : 2);
            return;
        }
        dialog.findChild<QComboBox*>(QStringLiteral("id1101"))->activated(1);
        connect_row(dialog, bare_row::kPortA);
        connect_row(dialog, bare_row::kPortB);
    });
    auto windows = [&] {
        return std::pair{device_window(bare_row::kPortA), device_window(bare_row::kPortB)};
    };
    auto [port_a, port_b] = windows();
    ASSERT_NE(nullptr, port_a);
    ASSERT_NE(nullptr, port_b);
    EXPECT_EQ("SevenSegment $400 - Port A", port_a->windowTitle().toStdString());
    EXPECT_EQ("HexDisplay $400 - Port B", port_b->windowTitle().toStdString());
    const QRect simulator = simulator_area(workbench);
    for (const QWidget* device : {port_a, port_b}) {
        SCOPED_TRACE(device->windowTitle().toStdString());
        EXPECT_FALSE(device->frameGeometry().intersects(simulator));
        EXPECT_GE(device->frameGeometry().left(), simulator.right());
        EXPECT_LT(device->frameGeometry().left() - simulator.right(), 40) << "beside it";
    }
    EXPECT_FALSE(port_a->frameGeometry().intersects(port_b->frameGeometry()));

    // The run keys reach the simulator from a device window.
    QApplication::setActiveWindow(port_a);
    port_a->setFocus();
    press_key(*port_a, Qt::Key_F5);
    EXPECT_EQ(RunMode::kRunningRealTime, sim().run_mode());
    press_key(*port_a, Qt::Key_F5, Qt::ShiftModifier);
    EXPECT_FALSE(sim().running());
    const uint32_t pc = sim().cpu().regs.pc;
    press_key(*port_a, Qt::Key_F10);
    EXPECT_NE(pc, sim().cpu().regs.pc);
    // With another child active, the Debug menu's run items go to the
    // simulator too.
    frame->dispatch(cmd::kCreateOutput); // the Output window, now the active child
    ASSERT_NE(workbench.simulator_windows().window(), frame->top_child());
    emit frame->menus()->popup(Popup::debug)->aboutToShow();
    EXPECT_TRUE(frame->menus()->action(sim_cmd::kRunRealTime)->isEnabled());
    EXPECT_FALSE(frame->menus()->action(sim_cmd::kHalt)->isEnabled());
    frame->menus()->action(sim_cmd::kRunRealTime)->trigger();
    EXPECT_TRUE(sim().running());
    frame->dispatch(sim_cmd::kHalt);
    EXPECT_FALSE(sim().running());

    // The next simulator window brings the devices back, named as before.
    workbench.simulator_windows().window()->parentWidget()->close();
    settle_events();
    EXPECT_EQ(0u, workbench.device_windows().count());
    frame->dispatch(cmd::kSimulatorNoFile);
    settle_events();
    std::tie(port_a, port_b) = windows();
    ASSERT_NE(nullptr, port_a);
    ASSERT_NE(nullptr, port_b);
    EXPECT_EQ("SevenSegment $400 - Port A", port_a->windowTitle().toStdString());
    EXPECT_TRUE(port_b->isVisible());
}

} // namespace
} // namespace torva::test
