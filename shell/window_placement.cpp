// Placing a window on screen relative to the window it belongs to.
#include "shell/window_placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace torva {

void centre_over(QWidget& window, const QWidget* owner) {
    QRect area;
    if (owner != nullptr) {
        const QWidget* client = owner;
        area = QRect(client->mapToGlobal(QPoint(0, 0)), client->size());
    } else if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        area = screen->availableGeometry();
    }
    const QSize size = window.frameSize().isValid() ? window.frameSize() : window.size();
    window.move(area.center() - QPoint(size.width() / 2, size.height() / 2));
}

} // namespace torva
