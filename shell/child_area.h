// The frame's area of child windows as the lists that fill it see it: put a
// child in, bring one to the front, the one on top.
#pragma once

class QMdiSubWindow;
class QRect;
class QWidget;

namespace torva {

class ChildWindow;

class ChildArea {
public:
    virtual ~ChildArea() = default;
    // Puts a child into the area, where it becomes the active child.
    virtual QMdiSubWindow* add_child(ChildWindow& child, const QRect* geometry = nullptr) = 0;
    // Brings the child to the front of the area.
    virtual void activate_child(QWidget* child) = 0;
    // The child on top of the area, or null.
    virtual QWidget* top_child() const = 0;
};

} // namespace torva
