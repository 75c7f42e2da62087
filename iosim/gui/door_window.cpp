// Picture, sensor lamps and user inputs of the door.
#include "iosim/gui/door_window.h"

#include "iosim/gui/device_painting.h"

#include <QCheckBox>
#include <QDateTime>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QSignalBlocker>

namespace torva {
namespace {

constexpr int kWidth = 440;
constexpr int kSceneTop = 56;
constexpr int kSceneBottom = 210;
constexpr int kOpeningLeft = 160;
constexpr int kOpeningWidth = 100;
constexpr int kOpeningTop = 72;
constexpr int kLampRow = 226;

const QColor kWall{196, 186, 170};
const QColor kOutside{214, 232, 244};
const QColor kDoorWood{150, 98, 56};

// The alarm blinks at 2 Hz.
bool blink_phase() {
    return (QDateTime::currentMSecsSinceEpoch() / 250) % 2 == 0;
}

} // namespace

DoorWindow::DoorWindow(Door& model, QWidget* owner) : DeviceWindow(model, owner) {
    setFixedSize(kWidth, 300);
    button_ = new QPushButton(tr("Button"), this);
    button_->setObjectName(QStringLiteral("button"));
    button_->setToolTip(tr("The open-request button: held while the mouse is down"));
    button_->setGeometry(14, 262, 110, 26);
    person_ = new QCheckBox(tr("Person in doorway"), this);
    person_->setObjectName(QStringLiteral("person"));
    person_->setGeometry(150, 262, 196, 26);
    connect(button_, &QPushButton::pressed, this, [this] {
        if (attached()) door().set_button(true);
    });
    connect(button_, &QPushButton::released, this, [this] {
        if (attached()) door().set_button(false);
    });
    connect(person_, &QCheckBox::toggled, this, [this](bool blocked) {
        if (attached()) door().set_doorway_blocked(blocked);
    });
    model_changed();
}

QRect DoorWindow::opening() const {
    return {kOpeningLeft, kOpeningTop, kOpeningWidth, kSceneBottom - kOpeningTop};
}

QRect DoorWindow::panel() const {
    const int shift = door().position() * kOpeningWidth / Door::kTravel;
    return opening().translated(shift, 0);
}

QRect DoorWindow::lamp_rect() const {
    return {kOpeningLeft + kOpeningWidth / 2 - 9, kSceneTop - 22, 18, 18};
}

void DoorWindow::model_changed() {
    const QSignalBlocker block(person_);
    person_->setChecked(door().sensors() & Door::kDoorwayBlocked);
}

bool DoorWindow::animating() const {
    return attached() && (door().control() & Door::kAlarm);
}

void DoorWindow::paint(QPainter& painter) {
    const Door& d = door();
    const uint8_t control = d.control();
    const QRect hole = opening();

    // Wall, the view through the doorway, the door panel inside the opening
    // (the part slid into the wall is hidden), then the frame.
    painter.setPen(Qt::NoPen);
    painter.setBrush(kWall);
    painter.drawRect(QRect(14, kSceneTop, kWidth - 28, kSceneBottom - kSceneTop));
    painter.setBrush(kOutside);
    painter.drawRect(hole);
    paint_person(painter);
    painter.save();
    painter.setClipRect(hole);
    const QRect door_panel = panel();
    painter.setPen(QPen(palette_colour::kInk, 1.2));
    painter.setBrush(kDoorWood);
    painter.drawRect(door_panel);
    painter.setBrush(QColor(220, 200, 120));
    painter.drawRect(QRect(door_panel.left() + 10, door_panel.center().y() - 4, 14, 8)); // handle
    painter.restore();
    painter.setPen(QPen(palette_colour::kInk, 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(hole);
    painter.drawLine(14, kSceneBottom, kWidth - 14, kSceneBottom);

    // Photocell beam across the doorway, broken by a person.
    const int beam_y = kSceneBottom - 26;
    const bool blocked = d.sensors() & Door::kDoorwayBlocked;
    painter.setPen(QPen(palette_colour::kWarning, 1.5, blocked ? Qt::DotLine : Qt::DashLine));
    painter.drawLine(hole.left() + 2, beam_y, hole.right() - 2, beam_y);
    painter.setPen(Qt::NoPen);
    painter.setBrush(palette_colour::kInk);
    painter.drawRect(QRect(hole.left() - 8, beam_y - 4, 8, 8));
    painter.drawRect(QRect(hole.right() + 1, beam_y - 4, 8, 8));

    // Lock bolt: out of the frame's left side into the closed door.
    if (control & Door::kLock) {
        painter.setPen(QPen(d.locked() ? palette_colour::kWarning : palette_colour::kInk, 1.5));
        painter.setBrush(QColor(90, 94, 100));
        painter.drawRect(QRect(hole.left() - 12, hole.center().y() - 5, 22, 10));
    }
    if (d.squeezing()) {
        painter.setPen(QPen(palette_colour::kWarning, 3));
        painter.setBrush(Qt::NoBrush);
        painter.drawLine(door_panel.left(), hole.top() + 4, door_panel.left(), hole.bottom() - 4);
        draw_caption(painter, {qreal(hole.right() + 14), qreal(hole.top() + 16)}, tr("SQUEEZED"),
                     palette_colour::kWarning);
    }

    draw_led(painter, lamp_rect(), control & Door::kLamp, palette_colour::kLampOn,
             palette_colour::kLampOff);
    draw_caption(painter, {qreal(lamp_rect().right() + 6), qreal(lamp_rect().bottom() - 4)},
                 tr("lamp"), palette_colour::kFaint);
    const QRectF alarm(kWidth - 90, 14, 74, 22);
    const bool alarm_on = control & Door::kAlarm;
    painter.setPen(QPen(palette_colour::kInk, 1.2));
    painter.setBrush(alarm_on && blink_phase() ? palette_colour::kWarning
                                               : palette_colour::kLampOff);
    painter.drawRoundedRect(alarm, 4, 4);
    painter.setPen(alarm_on ? Qt::white : palette_colour::kPanel);
    painter.drawText(alarm, Qt::AlignCenter, tr("ALARM"));
    paint_motor(painter);

    // Position scale and the sensors as the program reads them.
    draw_caption(painter, {qreal(hole.left()), qreal(kSceneBottom + 12)},
                 tr("open %1/%2").arg(d.position()).arg(Door::kTravel), palette_colour::kFaint);
    const uint8_t sensors = d.sensors();
    struct Lamp {
        const char* caption;
        uint8_t bit;
    };
    static constexpr Lamp kLamps[] = {
        {"CLOSED", Door::kClosed},     {"OPEN", Door::kFullyOpen},
        {"BUTTON", Door::kButtonDown}, {"BLOCKED", Door::kDoorwayBlocked},
        {"LOCKED", Door::kLocked},     {"REQUEST", Door::kRequest}};
    qreal x = 14;
    for (const Lamp& lamp : kLamps)
        x += draw_lamp(painter, {x, qreal(kLampRow + 8)}, QString::fromLatin1(lamp.caption),
                       sensors & lamp.bit) -
             6;
}

void DoorWindow::paint_motor(QPainter& painter) {
    const uint8_t control = door().control();
    const bool open = control & Door::kMotorOpen, close = control & Door::kMotorClose;
    QString text = tr("motor off");
    if (open && close)
        text = tr("motor: both ways, stands");
    else if (open)
        text = door().locked() ? tr("motor opening: locked") : tr("motor opening \u25B6");
    else if (close)
        text = tr("motor closing \u25C0");
    draw_caption(painter, {14, 30}, text,
                 open != close ? palette_colour::kInk : palette_colour::kFaint);
}

void DoorWindow::paint_person(QPainter& painter) {
    if (!(door().sensors() & Door::kDoorwayBlocked)) return;
    const QRect hole = opening();
    const qreal cx = hole.left() + hole.width() * 0.35, top = hole.top() + 22;
    painter.save();
    painter.setPen(QPen(QColor(40, 60, 120), 4, Qt::SolidLine, Qt::RoundCap));
    painter.setBrush(QColor(40, 60, 120));
    painter.drawEllipse(QPointF(cx, top), 9, 9);
    QPainterPath body;
    body.moveTo(cx, top + 9);
    body.lineTo(cx, top + 62);
    body.moveTo(cx - 18, top + 28);
    body.lineTo(cx + 18, top + 28);
    body.moveTo(cx, top + 62);
    body.lineTo(cx - 14, top + 108);
    body.moveTo(cx, top + 62);
    body.lineTo(cx + 14, top + 108);
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(body);
    painter.restore();
}

} // namespace torva
