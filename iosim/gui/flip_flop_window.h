// The window of the flip-flop: its push button (click or Space) and the lamp
// that is lit while the flip-flop is set and requests the interrupt.
#pragma once

#include "iosim/devices/flip_flop.h"
#include "iosim/gui/device_window.h"

namespace torva {

class FlipFlopWindow final : public DeviceWindow {
    Q_OBJECT
public:
    FlipFlopWindow(FlipFlop& flip_flop, QWidget* owner);

    QRect button_rect() const;
    QRect lamp_rect() const;

protected:
    void paint(QPainter& painter) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    FlipFlop& flip_flop() const { return static_cast<FlipFlop&>(model()); }
    void push();

    bool pressed_ = false; // drawn pushed in while the mouse holds it
};

} // namespace torva
