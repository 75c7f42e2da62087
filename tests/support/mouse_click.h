// Left clicks at a point of a widget, as the window system delivers them.
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

// A left double-click: press, release, then the second press the window
// system reports as a double-click, and its release.
inline void double_click(QWidget& window, QPoint at) {
    click(window, at);
    for (const auto type : {QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease}) {
        QMouseEvent event(type, QPointF(at), window.mapToGlobal(QPointF(at)), Qt::LeftButton,
                          type == QEvent::MouseButtonDblClick ? Qt::LeftButton : Qt::NoButton,
                          Qt::NoModifier);
        QApplication::sendEvent(&window, &event);
    }
}

} // namespace torva::test
