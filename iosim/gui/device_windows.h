// One window per open device: made when the device library opens a device,
// gone when it closes it. Closing a window by hand closes the device as the
// user's close does (the board then releases it). A new window opens beside
// the simulator window, in a spot no other device window takes; once the
// user moved it, it goes back to where it stood the last time a device of
// its place was open (kept with QSettings under the place's key).
#pragma once

#include "iosim/gui/device_window.h"
#include "iosim/io_simulator.h"

#include <QPointer>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

namespace torva {

// The window for a device, by its type; null for a type without one.
std::unique_ptr<DeviceWindow> make_device_window(Device& device, QWidget* owner);

class DeviceWindows {
public:
    // The settings group the window positions are kept in.
    static constexpr char kSettingsGroup[] = "DeviceWindows";

    explicit DeviceWindows(IoSimulator& library);
    ~DeviceWindows();
    DeviceWindows(const DeviceWindows&) = delete;
    DeviceWindows& operator=(const DeviceWindows&) = delete;

    // The window the device windows stay over (the frame); null for none.
    void set_owner(QWidget* owner) { owner_ = owner; }
    // The key of a device's place, asked when its window is first shown (by
    // then the device is bound to its row); "" gives the type and address.
    void set_place_key(std::function<std::string(int32_t handle)> key) {
        place_key_ = std::move(key);
    }
    // The name of a device's place (its row, "Port A"), which its title
    // shows after the type and address; "" for none.
    void set_place_name(std::function<std::string(int32_t handle)> name) {
        place_name_ = std::move(name);
    }
    // The area new windows open beside (the simulator window), in global
    // coordinates; an empty rectangle: the owner's right side.
    void set_anchor(std::function<QRect()> anchor) { anchor_ = std::move(anchor); }
    // Runs after the user closed a device's window and the device.
    void set_user_closed(std::function<void()> handler) { user_closed_ = std::move(handler); }

    // Every window shows its device as it is now (after a tick of a run).
    void refresh_all();

    // The window of an open device, or null.
    DeviceWindow* window(int32_t handle) const;
    size_t count() const { return windows_.size(); }

private:
    struct Entry {
        QPointer<DeviceWindow> window;
        QString key; // settings key, once placed
        // Where the window was put when no place was remembered for it; a
        // position is remembered only once the user moved it away.
        std::optional<QPoint> placed_at;
    };

    void opened(int32_t handle, Device& device);
    void closing(int32_t handle);
    void user_close(int32_t handle);
    // Moves a new window to its remembered place (or a free one) and shows it.
    void place(int32_t handle);
    void remember(const Entry& entry) const;
    // The first spot beside the anchor where a window of this frame size
    // overlaps neither the anchor nor another device window.
    QPoint free_spot(const QSize& size, const DeviceWindow& placing) const;
    // The size the window system's frame adds to a device window.
    QSize frame_margins() const;

    IoSimulator& library_;
    QWidget* owner_ = nullptr;
    std::function<std::string(int32_t)> place_key_;
    std::function<std::string(int32_t)> place_name_;
    std::function<QRect()> anchor_;
    std::function<void()> user_closed_;
    std::map<int32_t, Entry> windows_;
};

} // namespace torva
