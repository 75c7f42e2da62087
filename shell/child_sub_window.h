// The sub-window that holds each child in the frame's area: it puts the close
// query to its child before the user's close takes effect.
#pragma once

#include <QMdiSubWindow>

#include <functional>

namespace torva {

class ChildWindow;

class ChildSubWindow final : public QMdiSubWindow {
    Q_OBJECT
public:
    explicit ChildSubWindow(ChildWindow& child);

    ChildWindow* child() const { return child_; }
    // Closes without asking again (the question was already answered).
    void destroy_now();
    // Called once, just before the window leaves the area.
    void set_on_retire(std::function<void(ChildSubWindow&)> on_retire) {
        on_retire_ = std::move(on_retire);
    }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    ChildWindow* child_;
    bool asked_ = false;
    bool retired_ = false;
    std::function<void(ChildSubWindow&)> on_retire_;
};

} // namespace torva
