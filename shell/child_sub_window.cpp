// Child sub-window: the close query on the user's close; an accepted close
// leaves the area's window list at once (the window itself goes later).
#include "shell/child_sub_window.h"

#include "shell/child_window.h"

#include <QCloseEvent>

namespace torva {

ChildSubWindow::ChildSubWindow(ChildWindow& child) : child_(&child) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWidget(&child.as_widget());
    setWindowTitle(child.as_widget().windowTitle());
}

void ChildSubWindow::destroy_now() {
    asked_ = true;
    close();
}

void ChildSubWindow::closeEvent(QCloseEvent* event) {
    if (!asked_) {
        if (ChildWindow* window = child(); window != nullptr && !window->close_query()) {
            event->ignore();
            return;
        }
    }
    asked_ = true;
    QMdiSubWindow::closeEvent(event);
    if (!event->isAccepted() || retired_) return;
    retired_ = true;
    if (on_retire_) on_retire_(*this);
}

} // namespace torva
