// A student's session with devices, through the whole program's wiring: the
// switches example is assembled and loaded, Simulator Setup connects an
// Outport at $400 and an Inport at $600 (the device selection offers each
// port's first type), Run Real Time runs it, and flipping switch 2 in the
// Inport's window lights LED 2 in the Outport's window.
#include "io/device_table.h"
#include "iosim/gui/port_window.h"
#include "sim/sim_commands.h"
#include "support/student_session.h"

#include <QApplication>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>

namespace torva::test {
namespace {

void connect_row(QDialog& setup, int row) {
    setup.findChild<QListWidget*>(QStringLiteral("id1103"))->setCurrentRow(row);
    setup.findChild<QPushButton*>(QStringLiteral("id1104"))->click();
}

void click(QWidget& window, QPoint at) {
    for (const auto type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent event(type, QPointF(at), window.mapToGlobal(QPointF(at)), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                          Qt::NoModifier);
        QApplication::sendEvent(&window, &event);
    }
}

bool lit(PortWindow& window, int bit) {
    window.refresh();
    const QColor c = window.grab().toImage().pixelColor(window.led_rect(bit).center());
    return c.red() > 200 && c.green() < 110;
}

TEST(DevicesEndToEnd, SwitchFlippedInItsWindowLightsItsLed) {
    StudentSession student;
    ASSERT_TRUE(student.open_simulator(student.assemble_example("switches")));
    Workbench& workbench = student.workbench;
    KivFrame* frame = student.frame.get();
    ScriptedDialogs& dialogs = student.dialogs;

    dialogs.while_open = [](QDialog& dialog) {
        if (dialog.objectName() != "RT12TARGETSETUP") return;
        connect_row(dialog, bus_row::kOutport);
        connect_row(dialog, bus_row::kInport);
    };
    frame->dispatch(sim_cmd::kSimulatorSetup);
    EXPECT_EQ((std::vector<std::string>{"RT12TARGETSETUP", "IOSETUPDIALOG", "IOSETUPDIALOG"}),
              dialogs.modal_dialogs);
    settle_events();

    Board& board = workbench.simulated_board().board();
    const int32_t outport = board.setup().row_value(bus_row::kOutport);
    const int32_t inport = board.setup().row_value(bus_row::kInport);
    auto* leds = dynamic_cast<PortWindow*>(workbench.device_windows().window(outport));
    auto* switches = dynamic_cast<PortWindow*>(workbench.device_windows().window(inport));
    ASSERT_NE(nullptr, leds);
    ASSERT_NE(nullptr, switches);
    EXPECT_EQ("Outport $400", leds->windowTitle().toStdString());
    EXPECT_EQ("Inport $600", switches->windowTitle().toStdString());
    EXPECT_TRUE(leds->isVisible());

    Simulator& sim = workbench.simulated_board().simulator();
    uint64_t now = 0;
    sim.set_time_source([&] { return now; });
    frame->dispatch(sim_cmd::kRunRealTime);
    ASSERT_TRUE(sim.running());
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

} // namespace
} // namespace torva::test
