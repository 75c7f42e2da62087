#include "device_window_fixture.h"

#include "iosim/devices/door.h"
#include "iosim/devices/drill.h"
#include "iosim/devices/printer.h"
#include "iosim/gui/door_window.h"
#include "iosim/gui/drill_window.h"
#include "iosim/gui/printer_window.h"

#include <QCheckBox>
#include <QPushButton>

namespace torva {
namespace {

using DoorWindowTest = test::DeviceWindowFixture;
using DrillWindowTest = test::DeviceWindowFixture;
using PrinterWindowTest = test::DeviceWindowFixture;

template <typename Widget>
Widget& child(QWidget& window, const char* name) {
    auto* widget = window.findChild<Widget*>(QString::fromLatin1(name));
    EXPECT_NE(nullptr, widget) << name;
    return *widget;
}

// The door slides open as the motor drives it; the button and the person in
// the doorway reach the sensors the program reads.
TEST_F(DoorWindowTest, PictureFollowsTheDoorAndInputsReachTheSensors) {
    auto& door = open<Door>(DeviceType::kDoor, "$B00");
    auto& view = static_cast<DoorWindow&>(*window);
    const QPoint near_frame(view.opening().left() + 12, view.opening().top() + 20);
    const QColor closed = colour_at(near_frame);
    library.OutputSim(handle, Door::kMotorOpen | Door::kLamp, 0);
    door.advance(Door::kStepCycles * 5);
    ASSERT_EQ(5, door.position());
    EXPECT_NE(closed, colour_at(near_frame)); // the opening shows where the panel was
    EXPECT_EQ(view.opening().left() + view.opening().width() / 2, view.panel().left());
    EXPECT_TRUE(lit_amber(colour_at(view.lamp_rect().center())));

    emit child<QPushButton>(view, "button").pressed();
    EXPECT_TRUE(library.InputSim(handle, 0) & Door::kButtonDown);
    emit child<QPushButton>(view, "button").released();
    EXPECT_FALSE(door.sensors() & Door::kButtonDown);
    child<QCheckBox>(view, "person").setChecked(true);
    EXPECT_TRUE(library.InputSim(handle, 0) & Door::kDoorwayBlocked);
    library.OutputSim(handle, Door::kMotorClose | Door::kLamp | Door::kAlarm, 0);
    door.advance(Door::kStepCycles * 3);
    EXPECT_TRUE(door.squeezing());
    screenshot("door");
    door.set_doorway_blocked(false);
    window->refresh();
    EXPECT_FALSE(child<QCheckBox>(view, "person").isChecked()); // the box follows the model
}

TEST_F(DrillWindowTest, DrillMovesAndCanBeReplaced) {
    auto& drill = open<Drill>(DeviceType::kDrill, "$400/$600");
    auto& view = static_cast<DrillWindow&>(*window);
    const QPointF top = view.tip();
    library.OutputSim(handle, Drill::kSpindle | Drill::kFeedDown, 0);
    drill.advance(Drill::kStepCycles * 4);
    window->refresh();
    EXPECT_GT(view.tip().y(), top.y() + 3 * 10);
    // The drilled part of the hole is dark below the surface, at the axis.
    const QImage shown = image();
    EXPECT_LT(shown.pixelColor(view.tip().toPoint() - QPoint(0, 8)).lightness(), 100);
    auto& repair = child<QPushButton>(view, "repair");
    auto& workpiece = child<QPushButton>(view, "workpiece");
    EXPECT_FALSE(repair.isEnabled());
    EXPECT_FALSE(workpiece.isEnabled()); // the drill is in the workpiece

    library.OutputSim(handle, Drill::kSpindle | Drill::kFeedDown | Drill::kAdvance, 0); // snaps it
    window->refresh();
    EXPECT_TRUE(drill.broken());
    EXPECT_TRUE(repair.isEnabled());
    screenshot("drill");
    repair.click();
    EXPECT_FALSE(library.InputSim(handle, 1) & Drill::kBroken);
    library.OutputSim(handle, 0, 0);
    drill.advance(Drill::kStepCycles * 10 + Drill::kTurnCycles);
    window->refresh();
    ASSERT_TRUE(workpiece.isEnabled());
    workpiece.click();
    EXPECT_FALSE(library.InputSim(handle, 1) & Drill::kWorkpiecePresent);
    EXPECT_EQ("Insert workpiece", workpiece.text().toStdString());
}

TEST(PaperLinesTest, LineEndsAndControlBytes) {
    struct Case {
        int line;
        const char* printed;
        QStringList lines;
    };
    const Case cases[] = {
        {__LINE__, "AB\r\nCD", {"AB", "CD"}},  {__LINE__, "AB\n\rCD\n", {"AB", "CD", ""}},
        {__LINE__, "A\r\rB", {"A", "", "B"}},  {__LINE__, "A\fB", {"A", "", "B"}},
        {__LINE__, "x\ty\x01", {"x       y"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(c.lines, paper_lines(c.printed));
    }
}

TEST_F(PrinterWindowTest, PaperShowsThePrintAndTearsOff) {
    auto& printer = open<Printer>(DeviceType::kPrinter, "$800");
    auto& view = static_cast<PrinterWindow&>(*window);
    const QRect paper = view.paper_rect();
    auto ink_on_paper = [&] {
        const QImage shown = image();
        int dark = 0;
        for (int y = paper.top() + 2; y < paper.bottom() - 2; ++y)
            for (int x = paper.left() + 2; x < paper.right() - 2; ++x)
                dark += shown.pixelColor(x, y).lightness() < 128;
        return dark;
    };
    EXPECT_EQ(0, ink_on_paper());
    EXPECT_FALSE(child<QPushButton>(view, "tear_off").isEnabled());
    for (const char c : std::string("RT12 PRINTER TEST\r\n0123456789\r\n")) {
        library.OutputSim(handle, c, Printer::kData);
        library.OutputSim(handle, Printer::kStrobe, Printer::kControl);
        library.OutputSim(handle, 0, Printer::kControl);
        printer.advance(Printer::kBusyCycles);
    }
    EXPECT_GT(ink_on_paper(), 50);
    screenshot("printer");
    child<QPushButton>(view, "tear_off").click();
    EXPECT_EQ("", printer.paper());
    EXPECT_EQ(0, ink_on_paper());
    child<QCheckBox>(view, "paper_out").setChecked(true);
    EXPECT_TRUE(library.InputSim(handle, Printer::kStatus) & Printer::kPaperOut);
}

} // namespace
} // namespace torva
