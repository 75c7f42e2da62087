// One window per open device: made when the device library opens a device,
// gone when it closes it. Closing a window by hand closes the device as the
// user's close does (the board then releases it). Each window goes back to
// where it stood the last time a device of its place was open (kept with
// QSettings under the place's key).
#pragma once

#include "iosim/gui/device_window.h"
#include "iosim/io_simulator.h"

#include <QPointer>

#include <functional>
#include <map>
#include <memory>
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
    // Runs after the user closed a device's window and the device.
    void set_user_closed(std::function<void()> handler) { user_closed_ = std::move(handler); }

    // The window of an open device, or null.
    DeviceWindow* window(int32_t handle) const;
    size_t count() const { return windows_.size(); }

private:
    struct Entry {
        QPointer<DeviceWindow> window;
        QString key; // settings key, once placed
    };

    void opened(int32_t handle, Device& device);
    void closing(int32_t handle);
    void user_close(int32_t handle);
    // Moves a new window to its remembered place (or a free one) and shows it.
    void place(int32_t handle);
    void remember(const Entry& entry) const;
    QPoint default_position(const QSize& size) const;

    IoSimulator& library_;
    QWidget* owner_ = nullptr;
    std::function<std::string(int32_t)> place_key_;
    std::function<void()> user_closed_;
    std::map<int32_t, Entry> windows_;
};

} // namespace torva
