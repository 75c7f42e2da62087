// The window of the parallel ports: eight LEDs (outport), eight toggle
// switches (inport), or both (in/out port), bit 7 on the left. A click on a
// switch or the keys 0-7 flip a switch.
#pragma once

#include "iosim/devices/port_device.h"
#include "iosim/gui/device_window.h"

namespace torva {

class PortWindow final : public DeviceWindow {
    Q_OBJECT
public:
    PortWindow(PortDevice& port, QWidget* owner);

    // Where LED n and switch n are drawn (and a switch is clicked).
    QRect led_rect(int bit) const;
    QRect switch_rect(int bit) const;

protected:
    void paint(QPainter& painter) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    PortDevice& port() const { return static_cast<PortDevice&>(model()); }
    int column_x(int bit) const;
    int led_top() const;
    int switch_top() const;
    void flip(int bit);
};

} // namespace torva
