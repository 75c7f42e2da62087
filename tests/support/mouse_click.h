// A left click at a point of a widget, as the window system delivers it.
#pragma once

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

namespace torva::test {

inline void click(QWidget& window, QPoint at) {
    for (const auto type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent event(type, QPointF(at), window.mapToGlobal(QPointF(at)), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                          Qt::NoModifier);
        QApplication::sendEvent(&window, &event);
    }
}

} // namespace torva::test
