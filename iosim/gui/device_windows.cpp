// The window table by device type, and opening, placing and closing the
// device windows with their devices.
#include "iosim/gui/device_windows.h"

#include "iosim/devices/display.h"
#include "iosim/devices/door.h"
#include "iosim/devices/drill.h"
#include "iosim/devices/flip_flop.h"
#include "iosim/devices/keyboard.h"
#include "iosim/devices/port_device.h"
#include "iosim/devices/printer.h"
#include "iosim/devices/serial_device.h"
#include "iosim/gui/door_window.h"
#include "iosim/gui/drill_window.h"
#include "iosim/gui/flip_flop_window.h"
#include "iosim/gui/keypad_window.h"
#include "iosim/gui/port_window.h"
#include "iosim/gui/printer_window.h"
#include "iosim/gui/segment_window.h"
#include "iosim/gui/serial_console_window.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <QStyle>
#include <QTimer>

#include <algorithm>
#include <array>
#include <vector>

namespace torva {
namespace {

using Maker = std::unique_ptr<DeviceWindow> (*)(Device&, QWidget*);

template <typename Window, typename Model>
std::unique_ptr<DeviceWindow> make(Device& device, QWidget* owner) {
    return std::make_unique<Window>(static_cast<Model&>(device), owner);
}

template <SegmentWindow::DigitSource digits>
std::unique_ptr<DeviceWindow> make_segments(Device& device, QWidget* owner) {
    return std::make_unique<SegmentWindow>(device, digits, owner);
}

struct WindowKind {
    DeviceType type;
    Maker make;
};

using T = DeviceType;
constexpr std::array kWindowKinds = {
    WindowKind{T::kOutport, make<PortWindow, PortDevice>},
    WindowKind{T::kInport, make<PortWindow, PortDevice>},
    WindowKind{T::kHexDisplay, make_segments<hex_display_digits>},
    WindowKind{T::kFlipFlop, make<FlipFlopWindow, FlipFlop>},
    WindowKind{T::kPrinter, make<PrinterWindow, Printer>},
    WindowKind{T::kKeyboard, make<KeypadWindow, Keyboard>},
    WindowKind{T::kDisplay, make_segments<display_digits>},
    WindowKind{T::kDoor, make<DoorWindow, Door>},
    WindowKind{T::kDrill, make<DrillWindow, Drill>},
    WindowKind{T::kSerial, make<SerialConsoleWindow, SerialDevice>},
    WindowKind{T::kInOutPort, make<PortWindow, PortDevice>},
    WindowKind{T::kSegmentDigit, make_segments<segment_digit_digits>},
};

} // namespace

std::unique_ptr<DeviceWindow> make_device_window(Device& device, QWidget* owner) {
    for (const WindowKind& kind : kWindowKinds)
        if (kind.type == device.type()) return kind.make(device, owner);
    return nullptr;
}

DeviceWindows::DeviceWindows(IoSimulator& library) : library_(library) {
    library_.set_open_callback([this](int32_t handle, Device& device) { opened(handle, device); });
    library_.set_close_callback([this](int32_t handle, Device&) { closing(handle); });
}

DeviceWindows::~DeviceWindows() {
    library_.set_open_callback({});
    library_.set_close_callback({});
    for (auto& [handle, entry] : windows_) {
        remember(entry);
        if (entry.window) entry.window->detach();
        delete entry.window.data();
    }
}

DeviceWindow* DeviceWindows::window(int32_t handle) const {
    const auto found = windows_.find(handle);
    return found == windows_.end() ? nullptr : found->second.window.data();
}

void DeviceWindows::opened(int32_t handle, Device& device) {
    std::unique_ptr<DeviceWindow> made = make_device_window(device, owner_);
    if (!made) return;
    DeviceWindow* window = made.release();
    window->set_close_handler([this, handle] { user_close(handle); });
    windows_[handle] = Entry{window, {}, {}};
    // The device is bound to its row once OpenSim has returned: the window
    // finds its place on the next turn of the event loop.
    QTimer::singleShot(0, window, [this, handle] { place(handle); });
}

void DeviceWindows::place(int32_t handle) {
    const auto found = windows_.find(handle);
    if (found == windows_.end() || !found->second.window) return;
    Entry& entry = found->second;
    DeviceWindow& window = *entry.window;
    if (!window.attached()) return;
    // Ports A and B of the bare board both sit at $400: the row tells them apart.
    if (const std::string name = place_name_ ? place_name_(handle) : std::string(); !name.empty())
        window.setWindowTitle(window.windowTitle() + QStringLiteral(" - ") +
                              QString::fromStdString(name));
    std::string key = place_key_ ? place_key_(handle) : std::string();
    entry.key = key.empty() ? window.windowTitle() : QString::fromStdString(key);
    QSettings settings(QStringLiteral("Vardel"), QStringLiteral("TORVA6_RT12"));
    settings.beginGroup(QLatin1String(kSettingsGroup));
    const QVariant stored = settings.value(entry.key);
    QPoint position;
    if (stored.isValid()) {
        position = stored.toPoint();
        // A position from another screen layout is brought back into view.
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            const QRect area = screen->availableGeometry();
            position.setX(std::clamp(position.x(), area.left(),
                                     std::max(area.left(), area.right() - window.width())));
            position.setY(std::clamp(position.y(), area.top(),
                                     std::max(area.top(), area.bottom() - window.height())));
        }
    } else {
        position = free_spot(window.size() + frame_margins(), window);
        entry.placed_at = position;
    }
    window.move(position);
    window.show();
}

QSize DeviceWindows::frame_margins() const {
    // The window system's frame around a tool window, as one already shown
    // has it; a title bar's height before any is.
    for (const auto& [handle, entry] : windows_)
        if (entry.window && entry.window->isVisible())
            return entry.window->frameGeometry().size() - entry.window->size();
    return {0, QApplication::style()->pixelMetric(QStyle::PM_TitleBarHeight)};
}

QPoint DeviceWindows::free_spot(const QSize& size, const DeviceWindow& placing) const {
    constexpr int kGap = 6;
    const QRect screen = QGuiApplication::primaryScreen() != nullptr
                             ? QGuiApplication::primaryScreen()->availableGeometry()
                             : QRect(0, 0, 1024, 768);
    QRect anchor = anchor_ ? anchor_() : QRect();
    if (anchor.isEmpty()) {
        // No simulator window: down the owner's right side.
        const QRect owner = owner_ != nullptr ? owner_->frameGeometry() : screen;
        anchor = QRect(owner.right() - size.width() - 2 * kGap, owner.top() + 80, 1, 1);
    }
    std::vector<QRect> taken = {anchor};
    for (const auto& [handle, entry] : windows_)
        if (entry.window && entry.window != &placing && entry.window->isVisible())
            taken.push_back(entry.window->frameGeometry());
    // Spots beside the anchor and beside or below each window already
    // there: right of the anchor first, column by column, top to bottom;
    // then left of it.
    std::vector<QPoint> spots;
    for (const QRect& next_to : taken) {
        for (const int x :
             {next_to.right() + 1 + kGap, next_to.left() - kGap - size.width(), next_to.left()})
            for (const int y : {anchor.top(), next_to.top(), next_to.bottom() + 1 + kGap})
                spots.emplace_back(x, y);
    }
    const auto right_side = [&](QPoint p) { return p.x() > anchor.center().x(); };
    std::sort(spots.begin(), spots.end(), [&](QPoint a, QPoint b) {
        if (right_side(a) != right_side(b)) return right_side(a);
        const int ax = right_side(a) ? a.x() : -a.x(), bx = right_side(b) ? b.x() : -b.x();
        return ax != bx ? ax < bx : a.y() < b.y();
    });
    for (const QPoint spot : spots) {
        const QRect rect(spot, size);
        if (!screen.contains(rect)) continue;
        if (std::none_of(taken.begin(), taken.end(),
                         [&](const QRect& other) { return other.intersects(rect); }))
            return spot;
    }
    // No free spot on the screen: beside the anchor, one over the other.
    const int index = int(taken.size()) - 1;
    return {std::clamp(anchor.right() + kGap + (index % 6) * 28, screen.left(),
                       std::max(screen.left(), screen.right() - size.width())),
            std::clamp(anchor.top() + (index % 6) * 28, screen.top(),
                       std::max(screen.top(), screen.bottom() - size.height()))};
}

void DeviceWindows::remember(const Entry& entry) const {
    if (!entry.window || entry.key.isEmpty()) return;
    // A window the user never moved keeps no place: the next one finds a
    // free spot beside the simulator window, wherever that is then.
    if (entry.placed_at && *entry.placed_at == entry.window->pos()) return;
    QSettings settings(QStringLiteral("Vardel"), QStringLiteral("TORVA6_RT12"));
    settings.beginGroup(QLatin1String(kSettingsGroup));
    settings.setValue(entry.key, entry.window->pos());
}

void DeviceWindows::refresh_all() {
    for (const auto& [handle, entry] : windows_)
        if (entry.window) entry.window->refresh();
}

void DeviceWindows::closing(int32_t handle) {
    const auto found = windows_.find(handle);
    if (found == windows_.end()) return;
    Entry entry = found->second;
    windows_.erase(found);
    remember(entry);
    if (!entry.window) return;
    // The model goes away after this call; the window may be the one whose
    // close brought us here, so it is deleted once that has returned.
    entry.window->detach();
    entry.window->hide();
    entry.window->deleteLater();
}

void DeviceWindows::user_close(int32_t handle) {
    const auto found = windows_.find(handle);
    if (found == windows_.end()) return;
    remember(found->second);
    if (Device* device = library_.device(handle)) device->user_close();
    if (user_closed_) user_closed_();
}

} // namespace torva
