// Push button and lamp of the flip-flop.
#include "iosim/gui/flip_flop_window.h"

#include "iosim/gui/device_painting.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QRadialGradient>

namespace torva {

FlipFlopWindow::FlipFlopWindow(FlipFlop& flip_flop, QWidget* owner)
    : DeviceWindow(flip_flop, owner) {
    setFixedSize(230, 130);
}

QRect FlipFlopWindow::button_rect() const {
    return {28, 26, 64, 64};
}

QRect FlipFlopWindow::lamp_rect() const {
    return {142, 34, 48, 48};
}

void FlipFlopWindow::paint(QPainter& painter) {
    // The push button: a red cap in a grey bezel, darker while pushed.
    const QRectF bezel = button_rect();
    painter.setPen(QPen(palette_colour::kInk, 1.5));
    painter.setBrush(QColor(150, 154, 160));
    painter.drawEllipse(bezel);
    const QRectF cap = bezel.adjusted(8, 8, -8, -8).translated(pressed_ ? 1 : 0, pressed_ ? 1 : 0);
    QRadialGradient red(cap.center() - QPointF(6, 6), cap.width() * 0.7);
    red.setColorAt(0, pressed_ ? QColor(190, 40, 40) : QColor(255, 110, 100));
    red.setColorAt(1, pressed_ ? QColor(120, 20, 20) : QColor(190, 30, 30));
    painter.setBrush(red);
    painter.drawEllipse(cap);
    draw_caption(painter, {bezel.left() + 12, bezel.bottom() + 18}, tr("PUSH"));

    const bool set = flip_flop().is_set();
    draw_led(painter, lamp_rect(), set, palette_colour::kLampOn, palette_colour::kLampOff);
    draw_caption(painter, {qreal(lamp_rect().left() - 4), qreal(lamp_rect().bottom() + 18)},
                 set ? tr("SET: IRQ") : tr("clear"));
    draw_caption(painter, {10, 14}, tr("Presses: %1").arg(flip_flop().presses()),
                 palette_colour::kFaint);
}

void FlipFlopWindow::push() {
    if (!attached()) return;
    flip_flop().press_button();
    refresh();
}

void FlipFlopWindow::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && button_rect().contains(event->position().toPoint())) {
        pressed_ = true;
        push();
        update();
        return;
    }
    DeviceWindow::mousePressEvent(event);
}

void FlipFlopWindow::mouseReleaseEvent(QMouseEvent* event) {
    if (pressed_) {
        pressed_ = false;
        update();
    }
    DeviceWindow::mouseReleaseEvent(event);
}

void FlipFlopWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space && !event->isAutoRepeat()) return push();
    DeviceWindow::keyPressEvent(event);
}

} // namespace torva
