// The window of the 16-key keypad: keys 0-F to click (held while the mouse
// button is down) or type on the PC keyboard, and lamps for the key
// register's flags and the latched code.
#pragma once

#include "iosim/devices/keyboard.h"
#include "iosim/gui/device_window.h"

namespace torva {

class KeypadWindow final : public DeviceWindow {
    Q_OBJECT
public:
    KeypadWindow(Keyboard& keyboard, QWidget* owner);

    // Where the key with this code (0-15) is drawn.
    QRect key_rect(int code) const;
    // Where the "NEW KEY" lamp is drawn.
    QRect new_key_lamp() const;

protected:
    void paint(QPainter& painter) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    // A key held when the window loses the focus would get no release.
    void focusOutEvent(QFocusEvent* event) override;

private:
    Keyboard& keyboard() const { return static_cast<Keyboard&>(model()); }
    void press(int code);
    void release();

    int held_ = -1; // the key held down by mouse or keyboard, -1 for none
};

} // namespace torva
