#include "device_window_fixture.h"

#include "iosim/gui/device_windows.h"

#include "iosim/devices/port_device.h"
#include "iosim/io_simulator.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QSettings>

#include <gtest/gtest.h>

namespace torva {
namespace {

// Lets the placement of new windows and posted deletions run.
void settle() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

using test::PaintCounter;

struct DeviceWindowsTest : ::testing::Test {
    IoSimulator library;
    DeviceWindows windows{library};
    int user_closes = 0;

    void SetUp() override {
        QSettings(QStringLiteral("Vardel"), QStringLiteral("TORVA6_RT12"))
            .remove(QLatin1String(DeviceWindows::kSettingsGroup));
        windows.set_place_key([](int32_t handle) { return handle == 0 ? "bus-row-0" : ""; });
        windows.set_user_closed([this] { ++user_closes; });
    }
};

// A window comes with each device and goes with it; its place is kept and
// given back.
TEST_F(DeviceWindowsTest, WindowsOpenAndCloseWithTheirDevices) {
    const int32_t outport = library.OpenSim(int32_t(DeviceType::kOutport), "$400", 0);
    const int32_t keypad = library.OpenSim(int32_t(DeviceType::kKeyboard), "$C00", 0);
    ASSERT_EQ(2u, windows.count());
    QPointer<DeviceWindow> leds = windows.window(outport);
    ASSERT_NE(nullptr, leds);
    EXPECT_EQ("Outport $400", leds->windowTitle());
    EXPECT_EQ("Keyboard $C00", windows.window(keypad)->windowTitle());
    settle();
    EXPECT_TRUE(leds->isVisible());
    EXPECT_TRUE(leds->windowFlags() & Qt::Tool);

    leds->move(321, 234);
    const QPoint placed = leds->pos();
    library.CloseSim(outport);
    EXPECT_EQ(nullptr, windows.window(outport));
    settle();
    EXPECT_EQ(nullptr, leds); // deleted
    EXPECT_EQ(1u, windows.count());
    QSettings settings(QStringLiteral("Vardel"), QStringLiteral("TORVA6_RT12"));
    EXPECT_EQ(placed, settings.value(QStringLiteral("DeviceWindows/bus-row-0")).toPoint());

    // Opened again under another handle that reads as the same row, the
    // window comes back to its place.
    windows.set_place_key([](int32_t) { return "bus-row-0"; });
    const int32_t again = library.OpenSim(int32_t(DeviceType::kOutport), "$400", 0);
    settle();
    EXPECT_EQ(placed, windows.window(again)->pos());
}

// Closing the window by hand closes the device as the user's close does;
// the board then releases it.
TEST_F(DeviceWindowsTest, UserCloseClosesTheDevice) {
    const int32_t handle = library.OpenSim(int32_t(DeviceType::kFlipFlop), "$DC0", 0);
    settle();
    QPointer<DeviceWindow> window = windows.window(handle);
    ASSERT_NE(nullptr, window);
    windows.set_user_closed([&] {
        ++user_closes;
        library.CloseSim(handle); // what pruning does
    });
    window->close();
    EXPECT_EQ(1, user_closes);
    EXPECT_EQ(0, library.QuerySim(handle));
    settle();
    EXPECT_EQ(nullptr, window);
    EXPECT_EQ(0u, windows.count());
}

// However often the program changes a device, its window repaints at most
// every 40 ms.
TEST_F(DeviceWindowsTest, RepaintsAreCoalesced) {
    const int32_t handle = library.OpenSim(int32_t(DeviceType::kOutport), "$400", 0);
    settle();
    DeviceWindow* window = windows.window(handle);
    PaintCounter counter;
    window->installEventFilter(&counter);
    QElapsedTimer clock;
    clock.start();
    int writes = 0;
    while (clock.elapsed() < 400) {
        for (int i = 0; i < 200; ++i)
            library.OutputSim(handle, ++writes & 0xFF, 0);
        QCoreApplication::processEvents();
    }
    EXPECT_GT(counter.paints, 0);
    EXPECT_LE(counter.paints, 400 / DeviceWindow::kRepaintInterval + 2);
    window->removeEventFilter(&counter);
}

} // namespace
} // namespace torva
