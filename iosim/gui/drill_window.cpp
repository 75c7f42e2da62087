// Side view, turntable, lamps and user inputs of the drilling machine.
#include "iosim/gui/drill_window.h"

#include "iosim/gui/device_painting.h"

#include <QDateTime>
#include <QPainter>
#include <QPushButton>

#include <cmath>
#include <numbers>

namespace torva {
namespace {

constexpr int kWidth = 400;
constexpr qreal kAxisX = 110;  // the spindle's axis in the side view
constexpr qreal kTipTop = 104; // the tip's height at depth 0
constexpr qreal kStep = 11;    // pixels per depth step
constexpr qreal kTableX = 300; // the turntable's centre in the top view
constexpr qreal kTableY = 118;
constexpr qreal kTableRadius = 58;
constexpr int kLampRow = 262;

const QColor kMetal{150, 156, 166};
const QColor kDarkMetal{92, 98, 108};
const QColor kWorkpiece{196, 170, 120};

qreal tip_at(int depth) {
    return kTipTop + depth * kStep;
}

// The spindle's stripes move while it runs: one turn every 320 ms.
qreal spin_phase() {
    return double(QDateTime::currentMSecsSinceEpoch() % 320) / 320.0;
}

} // namespace

DrillWindow::DrillWindow(Drill& model, QWidget* owner) : DeviceWindow(model, owner) {
    setFixedSize(kWidth, 326);
    workpiece_ = new QPushButton(this);
    workpiece_->setObjectName(QStringLiteral("workpiece"));
    workpiece_->setGeometry(14, 290, 150, 26);
    repair_ = new QPushButton(tr("Replace drill"), this);
    repair_->setObjectName(QStringLiteral("repair"));
    repair_->setGeometry(174, 290, 120, 26);
    connect(workpiece_, &QPushButton::clicked, this, [this] {
        if (!attached()) return;
        drill().set_workpiece_present(!drill().workpiece_present());
        refresh();
    });
    connect(repair_, &QPushButton::clicked, this, [this] {
        if (!attached()) return;
        drill().repair();
        refresh();
    });
    model_changed();
}

QPointF DrillWindow::tip() const {
    const Drill& d = drill();
    // A broken drill is shorter by what snapped off.
    return {kAxisX, tip_at(d.depth()) - (d.broken() ? kStep * 1.5 : 0)};
}

QPointF DrillWindow::hole_centre(int position) const {
    // The current position sits under the drill, at the top of the table;
    // the others follow clockwise.
    const int steps = (position - drill().hole_position() + Drill::kHoles) % Drill::kHoles;
    const double angle = -std::numbers::pi / 2 + steps * 2 * std::numbers::pi / Drill::kHoles;
    const qreal r = kTableRadius * 0.68;
    return {kTableX + r * std::cos(angle), kTableY + r * std::sin(angle)};
}

void DrillWindow::model_changed() {
    const Drill& d = drill();
    workpiece_->setText(d.workpiece_present() ? tr("Remove workpiece") : tr("Insert workpiece"));
    // The workpiece changes only with the drill clear of it.
    workpiece_->setEnabled(d.depth() < Drill::kContact);
    repair_->setEnabled(d.broken());
}

bool DrillWindow::animating() const {
    return attached() && (drill().control() & Drill::kSpindle);
}

void DrillWindow::paint(QPainter& painter) {
    paint_side_view(painter);
    paint_turntable(painter);

    const Drill& d = drill();
    const uint8_t status = d.status();
    struct Lamp {
        const char* caption;
        bool lit;
        bool warning;
    };
    const Lamp lamps[] = {
        {"TOP", bool(status & Drill::kAtTop), false},
        {"BOTTOM", bool(status & Drill::kAtBottom), false},
        {"IN POS", bool(status & Drill::kInPosition), false},
        {"BROKEN", bool(status & Drill::kBroken), true},
        {"WORKPIECE", bool(status & Drill::kWorkpiecePresent), false},
        {"ALARM", bool(d.control() & Drill::kAlarm), true},
    };
    qreal x = 14;
    for (const Lamp& lamp : lamps)
        x += draw_lamp(painter, {x, qreal(kLampRow)}, QString::fromLatin1(lamp.caption), lamp.lit,
                       lamp.warning ? palette_colour::kWarning : palette_colour::kLampOn) -
             6;
}

void DrillWindow::paint_side_view(QPainter& painter) {
    const Drill& d = drill();
    const uint8_t control = d.control();
    const qreal surface = tip_at(Drill::kContact);
    const qreal bottom = tip_at(Drill::kDepth);

    // Machine: base, column, table.
    painter.setPen(QPen(palette_colour::kInk, 1.2));
    painter.setBrush(kDarkMetal);
    painter.drawRect(QRectF(20, bottom + 18, 180, 12));
    painter.drawRect(QRectF(24, 24, 16, bottom - 6));
    painter.setBrush(kMetal);
    painter.drawRect(QRectF(54, bottom + 4, 112, 14));

    // Workpiece with the hole at the drill cut so far.
    if (d.workpiece_present()) {
        painter.setBrush(kWorkpiece);
        painter.drawRect(QRectF(66, surface, 88, bottom - surface + 4));
        const bool drilled = (d.holes_drilled() >> d.hole_position()) & 1;
        const qreal cut = drilled ? bottom + 4 : std::max(surface, tip().y());
        if (cut > surface && !d.turning()) {
            painter.setBrush(QColor(70, 56, 36));
            painter.setPen(Qt::NoPen);
            painter.drawRect(QRectF(kAxisX - 4, surface, 8, cut - surface));
        }
    } else {
        draw_caption(painter, {70, surface + 20}, tr("no workpiece"), palette_colour::kFaint);
    }

    // Drill head on its arm, chuck (striped, moving while the spindle runs)
    // and the drill.
    const qreal tip_y = tip_at(d.depth());
    const QRectF head(60, tip_y - 84, 100, 34);
    painter.setPen(QPen(palette_colour::kInk, 1.2));
    painter.setBrush(kDarkMetal);
    painter.drawRect(QRectF(40, head.top() + 8, 20, 12)); // arm on the column
    painter.setBrush(QColor(60, 110, 170));
    painter.drawRect(head);
    draw_caption(painter, {head.left() + 6, head.top() + 14}, tr("M"), Qt::white);
    const QRectF chuck(kAxisX - 9, head.bottom(), 18, 22);
    painter.setBrush(kMetal);
    painter.drawRect(chuck);
    painter.save();
    painter.setClipRect(chuck);
    painter.setPen(QPen(kDarkMetal, 2));
    const qreal phase = (control & Drill::kSpindle) ? spin_phase() * 8 : 0;
    for (int i = -1; i < 4; ++i) {
        const qreal x = chuck.left() + (i * 8 + phase);
        painter.drawLine(QPointF(x, chuck.top()), QPointF(x + 10, chuck.bottom()));
    }
    painter.restore();
    const QPointF end = tip();
    painter.setPen(QPen(d.broken() ? palette_colour::kWarning : QColor(60, 64, 70), 4));
    painter.drawLine(QPointF(kAxisX, chuck.bottom()), QPointF(kAxisX, end.y() - 3));
    if (d.broken()) {
        painter.drawLine(QPointF(kAxisX - 2, end.y() - 3), QPointF(kAxisX + 3, end.y()));
    } else {
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(60, 64, 70));
        painter.drawPolygon(
            QPolygonF({QPointF(kAxisX - 2, end.y() - 4), QPointF(kAxisX + 2, end.y() - 4), end}));
    }

    QString motion = (control & Drill::kSpindle) ? tr("spindle on") : tr("spindle off");
    motion += (control & Drill::kFeedDown) ? tr(", feed \u25BC") : tr(", up \u25B2");
    draw_caption(painter, {170, 40}, motion);
    draw_caption(painter, {170, 56}, tr("depth %1/%2").arg(d.depth()).arg(Drill::kDepth),
                 palette_colour::kFaint);
}

void DrillWindow::paint_turntable(QPainter& painter) {
    const Drill& d = drill();
    painter.setPen(QPen(palette_colour::kInk, 1.2));
    painter.setBrush(kMetal);
    painter.drawEllipse(QPointF(kTableX, kTableY), kTableRadius, kTableRadius);
    if (d.workpiece_present()) {
        painter.setBrush(kWorkpiece);
        painter.drawEllipse(QPointF(kTableX, kTableY), kTableRadius - 8, kTableRadius - 8);
    }
    for (int position = 0; position < Drill::kHoles; ++position) {
        const bool drilled = d.workpiece_present() && ((d.holes_drilled() >> position) & 1);
        painter.setPen(QPen(palette_colour::kInk, 1));
        painter.setBrush(drilled ? QColor(50, 40, 28) : Qt::transparent);
        painter.drawEllipse(hole_centre(position), 6, 6);
    }
    // The drill's place, and the turning arrow while the table moves.
    const QPointF under = hole_centre(d.hole_position());
    painter.setPen(Qt::NoPen);
    painter.setBrush(palette_colour::kWarning);
    painter.drawPolygon(QPolygonF({QPointF(under.x() - 6, kTableY - kTableRadius - 12),
                                   QPointF(under.x() + 6, kTableY - kTableRadius - 12),
                                   QPointF(under.x(), kTableY - kTableRadius - 2)}));
    if (d.turning()) {
        painter.setPen(QPen(palette_colour::kWarning, 2.5));
        painter.setBrush(Qt::NoBrush);
        const QRectF ring(kTableX - kTableRadius - 8, kTableY - kTableRadius - 8,
                          2 * kTableRadius + 16, 2 * kTableRadius + 16);
        painter.drawArc(ring, -30 * 16, -60 * 16);
        draw_caption(painter, {kTableX - 20, kTableY + kTableRadius + 24}, tr("turning"),
                     palette_colour::kWarning);
    } else {
        draw_caption(painter, {kTableX - 26, kTableY + kTableRadius + 24},
                     tr("position %1").arg(d.hole_position()), palette_colour::kFaint);
    }
}

} // namespace torva
