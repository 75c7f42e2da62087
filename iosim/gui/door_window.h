// The window of the door: a picture of the doorway with the sliding door at
// its position, the motor's direction, the lock bolt, the lamp, the alarm,
// the photocell and anyone standing in the doorway; the sensor lamps; the
// open-request button and a box to step into the doorway.
#pragma once

#include "iosim/devices/door.h"
#include "iosim/gui/device_window.h"

class QCheckBox;
class QPushButton;

namespace torva {

class DoorWindow final : public DeviceWindow {
    Q_OBJECT
public:
    DoorWindow(Door& door, QWidget* owner);

    // The doorway's opening, which the door panel covers when closed.
    QRect opening() const;
    // The door panel at the door's position now.
    QRect panel() const;
    QRect lamp_rect() const;

protected:
    void model_changed() override;
    bool animating() const override;
    void paint(QPainter& painter) override;

private:
    Door& door() const { return static_cast<Door&>(model()); }
    void paint_motor(QPainter& painter);
    void paint_person(QPainter& painter);

    QPushButton* button_;
    QCheckBox* person_;
};

} // namespace torva
