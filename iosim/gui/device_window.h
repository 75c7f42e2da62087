// A small tool window over one device model. It paints from the model and
// repaints when the model's change counter moved, checked every 40 ms, so a
// program that changes a device thousands of times a second costs at most 25
// repaints a second; user input goes to the model's own calls.
#pragma once

#include "iosim/device.h"

#include <QTimer>
#include <QWidget>

#include <cstdint>
#include <functional>

class QPainter;

namespace torva {

class DeviceWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr int kRepaintInterval = 40; // milliseconds

    DeviceWindow(Device& device, QWidget* owner);

    // "Outport $400": the type's name and the place the device was opened at.
    static QString title_for(const Device& device);
    // The anchor of the manual's section on a device type.
    static QString help_topic(DeviceType type);

    // The program closed the device: the window lets go of the model and
    // no longer paints it.
    void detach();
    bool attached() const { return device_ != nullptr; }

    // Runs when the user closes the window (the device then closes too).
    void set_close_handler(std::function<void()> handler) { on_close_ = std::move(handler); }

    // The timer's check: repaint when the model changed since the last
    // paint, or while something moves on its own (a spinning spindle).
    void refresh();

protected:
    Device& model() const { return *device_; }
    // The model changed: child widgets (buttons, boxes) follow it here.
    virtual void model_changed() {}
    // True while the picture moves without the model changing.
    virtual bool animating() const { return false; }
    // Paints the window's face; only called while attached.
    virtual void paint(QPainter& painter) = 0;

    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    Device* device_;
    uint64_t painted_changes_ = UINT64_MAX;
    QTimer timer_;
    std::function<void()> on_close_;
};

} // namespace torva
