// LEDs and switches of the parallel ports.
#include "iosim/gui/port_window.h"

#include "iosim/gui/device_painting.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace torva {
namespace {

constexpr int kMargin = 16;
constexpr int kColumn = 34; // from one bit to the next
constexpr int kLed = 22;    // LED diameter
constexpr int kSwitchW = 18;
constexpr int kSwitchH = 34;
constexpr int kRowGap = 30; // caption above a row, numbers below it

QString hex_byte(uint8_t value) {
    return QStringLiteral("$%1").arg(value, 2, 16, QLatin1Char('0')).toUpper();
}

} // namespace

PortWindow::PortWindow(PortDevice& port, QWidget* owner) : DeviceWindow(port, owner) {
    const int rows_height = (port.has_outputs() ? kLed + kRowGap + 14 : 0) +
                            (port.has_inputs() ? kSwitchH + kRowGap + 14 : 0);
    setFixedSize(2 * kMargin + 8 * kColumn, rows_height + 16);
}

int PortWindow::column_x(int bit) const {
    return kMargin + (7 - bit) * kColumn + kColumn / 2;
}

int PortWindow::led_top() const {
    return kRowGap;
}

int PortWindow::switch_top() const {
    return (port().has_outputs() ? kLed + kRowGap + 14 : 0) + kRowGap;
}

QRect PortWindow::led_rect(int bit) const {
    return {column_x(bit) - kLed / 2, led_top(), kLed, kLed};
}

QRect PortWindow::switch_rect(int bit) const {
    return {column_x(bit) - kSwitchW / 2, switch_top(), kSwitchW, kSwitchH};
}

void PortWindow::paint(QPainter& painter) {
    PortDevice& p = port();
    painter.setFont(font());
    if (p.has_outputs()) {
        draw_caption(painter, {qreal(kMargin), qreal(led_top() - 10)}, tr("LEDs"));
        draw_caption(painter, {qreal(width() - kMargin - 24), qreal(led_top() - 10)},
                     hex_byte(p.outputs()), palette_colour::kFaint);
        for (int bit = 0; bit < 8; ++bit) {
            draw_led_level(painter, led_rect(bit), p.brightness(bit));
            draw_caption(painter, {qreal(column_x(bit) - 3), qreal(led_top() + kLed + 14)},
                         QString::number(bit), palette_colour::kFaint);
        }
    }
    if (!p.has_inputs()) return;
    draw_caption(painter, {qreal(kMargin), qreal(switch_top() - 10)}, tr("Switches"));
    draw_caption(painter, {qreal(width() - kMargin - 24), qreal(switch_top() - 10)},
                 hex_byte(p.switches()), palette_colour::kFaint);
    for (int bit = 0; bit < 8; ++bit) {
        const QRectF slot = switch_rect(bit);
        const bool on = (p.switches() >> bit) & 1;
        painter.setPen(QPen(palette_colour::kInk, 1.2));
        painter.setBrush(QColor(70, 74, 82));
        painter.drawRoundedRect(slot, 4, 4);
        // The lever sits up for on, down for off.
        const QRectF lever(slot.left() + 3, on ? slot.top() + 3 : slot.center().y() + 1,
                           slot.width() - 6, slot.height() / 2 - 4);
        painter.setBrush(on ? QColor(250, 250, 250) : QColor(170, 172, 176));
        painter.drawRoundedRect(lever, 2, 2);
        draw_caption(painter, {qreal(column_x(bit) - 3), qreal(switch_top() + kSwitchH + 14)},
                     QString::number(bit), palette_colour::kFaint);
    }
}

void PortWindow::flip(int bit) {
    if (!attached() || !port().has_inputs()) return;
    port().set_switch(bit, !((port().switches() >> bit) & 1));
    refresh();
}

void PortWindow::mousePressEvent(QMouseEvent* event) {
    if (attached() && port().has_inputs() && event->button() == Qt::LeftButton)
        for (int bit = 0; bit < 8; ++bit)
            if (switch_rect(bit).contains(event->position().toPoint())) return flip(bit);
    DeviceWindow::mousePressEvent(event);
}

void PortWindow::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (key >= Qt::Key_0 && key <= Qt::Key_7) return flip(key - Qt::Key_0);
    DeviceWindow::keyPressEvent(event);
}

} // namespace torva
