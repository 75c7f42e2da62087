// The window of the serial console: a small terminal that shows what the
// program sends and sends it the keys typed here. While a terminal window is
// linked to the simulated port, the terminal takes the byte stream over and
// this window says so.
#pragma once

#include "iosim/devices/console_screen.h"
#include "iosim/devices/serial_device.h"
#include "iosim/gui/device_window.h"

namespace torva {

class SerialConsoleWindow final : public DeviceWindow {
    Q_OBJECT
public:
    static constexpr int kRows = 16;
    static constexpr char kLinkedText[] = "linked to terminal";

    SerialConsoleWindow(SerialDevice& console, QWidget* owner);

    const ConsoleScreen& screen() const { return screen_; }
    // The text area.
    QRect screen_rect() const;

protected:
    void model_changed() override;
    void paint(QPainter& painter) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    SerialDevice& console() const { return static_cast<SerialDevice&>(model()); }

    ConsoleScreen screen_;
    QFont font_;
};

} // namespace torva
