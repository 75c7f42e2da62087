// Keys and lamps of the keypad.
#include "iosim/gui/keypad_window.h"

#include "iosim/gui/device_painting.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <array>

namespace torva {
namespace {

constexpr int kMargin = 14;
constexpr int kKey = 46;
constexpr int kGap = 8;
constexpr int kStatusHeight = 46;

// The keys as the keypad lays them out, row by row.
constexpr std::array<int, 16> kLayout = {0x1, 0x2, 0x3, 0xA, 0x4, 0x5, 0x6, 0xB,
                                         0x7, 0x8, 0x9, 0xC, 0xE, 0x0, 0xF, 0xD};

int layout_index(int code) {
    for (size_t i = 0; i < kLayout.size(); ++i)
        if (kLayout[i] == code) return int(i);
    return 0;
}

// The key code a PC key types: 0-9 and A-F.
int code_of(const QKeyEvent& event) {
    const int key = event.key();
    if (key >= Qt::Key_0 && key <= Qt::Key_9) return key - Qt::Key_0;
    if (key >= Qt::Key_A && key <= Qt::Key_F) return key - Qt::Key_A + 10;
    return -1;
}

} // namespace

KeypadWindow::KeypadWindow(Keyboard& keyboard, QWidget* owner) : DeviceWindow(keyboard, owner) {
    setFixedSize(2 * kMargin + 4 * kKey + 3 * kGap,
                 2 * kMargin + kStatusHeight + 4 * kKey + 3 * kGap);
}

QRect KeypadWindow::key_rect(int code) const {
    const int index = layout_index(code & 0x0F);
    return {kMargin + (index % 4) * (kKey + kGap),
            kMargin + kStatusHeight + (index / 4) * (kKey + kGap), kKey, kKey};
}

QRect KeypadWindow::new_key_lamp() const {
    return {kMargin + 76, kMargin + 2, 12, 12};
}

void KeypadWindow::paint(QPainter& painter) {
    const uint8_t reg = keyboard().key_register();
    // The encoder's latch: the last code and the register's flags.
    const QRectF code_face(kMargin, kMargin, 64, 32);
    painter.setPen(QPen(palette_colour::kInk, 1.5));
    painter.setBrush(palette_colour::kDigitFace);
    painter.drawRoundedRect(code_face, 4, 4);
    draw_digit(painter, QRectF(code_face.left() + 24, code_face.top() + 4, 15, 24),
               kHexSegments[reg & Keyboard::kCodeMask]);
    draw_lamp(painter, new_key_lamp().topLeft(), tr("NEW KEY"), reg & Keyboard::kNewKey);
    draw_lamp(painter, QPointF(new_key_lamp().left(), new_key_lamp().top() + 17), tr("KEY DOWN"),
              reg & Keyboard::kKeyDown);
    draw_lamp(painter, QPointF(new_key_lamp().left() + 92, new_key_lamp().top()), tr("IRQ"),
              keyboard().interrupt_enabled());

    QFont key_font = font();
    key_font.setPointSize(14);
    key_font.setBold(true);
    painter.setFont(key_font);
    for (int code = 0; code < 16; ++code) {
        const QRectF key = key_rect(code);
        const bool down = code == held_;
        QLinearGradient face(key.topLeft(), key.bottomLeft());
        face.setColorAt(0, down ? QColor(150, 154, 162) : QColor(250, 250, 252));
        face.setColorAt(1, down ? QColor(120, 124, 132) : QColor(200, 203, 208));
        painter.setPen(QPen(palette_colour::kInk, 1.2));
        painter.setBrush(face);
        painter.drawRoundedRect(key.adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
        painter.drawText(key.translated(down ? 1 : 0, down ? 1 : 0), Qt::AlignCenter,
                         QString::number(code, 16).toUpper());
    }
}

void KeypadWindow::press(int code) {
    if (!attached() || code == held_) return;
    held_ = code;
    keyboard().press_key(code);
    refresh();
}

void KeypadWindow::release() {
    if (held_ < 0) return;
    held_ = -1;
    if (attached()) keyboard().release_key();
    refresh();
}

void KeypadWindow::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        for (int code = 0; code < 16; ++code)
            if (key_rect(code).contains(event->position().toPoint())) {
                press(code);
                return;
            }
    DeviceWindow::mousePressEvent(event);
}

void KeypadWindow::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) release();
    DeviceWindow::mouseReleaseEvent(event);
}

void KeypadWindow::keyPressEvent(QKeyEvent* event) {
    const int code = code_of(*event);
    if (code < 0) return DeviceWindow::keyPressEvent(event);
    // Holding a PC key repeats its press events; the keypad key stays down.
    if (!event->isAutoRepeat()) press(code);
}

void KeypadWindow::focusOutEvent(QFocusEvent* event) {
    release();
    DeviceWindow::focusOutEvent(event);
}

void KeypadWindow::keyReleaseEvent(QKeyEvent* event) {
    if (code_of(*event) == held_ && !event->isAutoRepeat()) {
        release();
        return;
    }
    DeviceWindow::keyReleaseEvent(event);
}

} // namespace torva
