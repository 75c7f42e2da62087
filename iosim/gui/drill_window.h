// The window of the drilling machine: a side view with the drill head at its
// depth, the spindle turning, the drill (broken or whole) and the workpiece
// with the hole being cut; a top view of the turntable with its eight hole
// positions; the status lamps; buttons to change the workpiece and replace
// a broken drill.
#pragma once

#include "iosim/devices/drill.h"
#include "iosim/gui/device_window.h"

class QPushButton;

namespace torva {

class DrillWindow final : public DeviceWindow {
    Q_OBJECT
public:
    DrillWindow(Drill& drill, QWidget* owner);

    // Where the drill's tip is drawn at the depth now, and the centre of
    // hole position n on the turntable.
    QPointF tip() const;
    QPointF hole_centre(int position) const;

protected:
    void model_changed() override;
    bool animating() const override;
    void paint(QPainter& painter) override;

private:
    Drill& drill() const { return static_cast<Drill&>(model()); }
    void paint_side_view(QPainter& painter);
    void paint_turntable(QPainter& painter);

    QPushButton* workpiece_;
    QPushButton* repair_;
};

} // namespace torva
