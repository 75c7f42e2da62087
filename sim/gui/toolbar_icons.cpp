// Glyphs of the simulator toolbar: drawn with a painter at 32 x 32 and
// scaled by Qt, so they stay crisp on any screen.
#include "sim/gui/toolbar_icons.h"

#include "sim/sim_commands.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>

namespace torva {

namespace {

constexpr QColor kInk(38, 52, 82);
constexpr QColor kGreen(36, 150, 64);
constexpr QColor kRed(206, 40, 40);
constexpr QColor kAmber(230, 160, 20);
constexpr QColor kBlue(52, 110, 200);

void triangle(QPainter& p, qreal x, QColor colour) {
    p.setBrush(colour);
    p.drawPolygon(QPolygonF({QPointF(x, 7), QPointF(x + 13, 16), QPointF(x, 25)}));
}

void draw(QPainter& p, int id) {
    p.setPen(QPen(kInk, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    switch (id) {
    case sim_cmd::kLoadNew: // a folder
        p.setBrush(kAmber);
        p.drawPolygon(QPolygonF({QPointF(3, 9), QPointF(12, 9), QPointF(15, 12), QPointF(29, 12),
                                 QPointF(29, 27), QPointF(3, 27)}));
        break;
    case sim_cmd::kReload: { // a circular arrow
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(kBlue, 3.5, Qt::SolidLine, Qt::RoundCap));
        p.drawArc(QRectF(6, 6, 20, 20), 60 * 16, 280 * 16);
        p.setPen(Qt::NoPen);
        p.setBrush(kBlue);
        p.drawPolygon(QPolygonF({QPointF(17, 1), QPointF(26, 7), QPointF(17, 12)}));
        break;
    }
    case sim_cmd::kBreakpointTable: // a stop sign over lines
        p.setBrush(Qt::NoBrush);
        for (int y : {8, 16, 24})
            p.drawLine(QPointF(15, y), QPointF(29, y));
        p.setBrush(kRed);
        p.drawEllipse(QRectF(2, 9, 13, 13));
        break;
    case sim_cmd::kResetSimulator: // a power symbol
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(kRed, 3.5, Qt::SolidLine, Qt::RoundCap));
        p.drawArc(QRectF(5, 6, 22, 22), 120 * 16, 300 * 16);
        p.drawLine(QPointF(16, 3), QPointF(16, 15));
        break;
    case sim_cmd::kResetCpu: // a chip
        p.setBrush(QColor(70, 80, 100));
        p.drawRect(QRectF(8, 8, 16, 16));
        for (int i = 0; i < 3; ++i) {
            const qreal at = 11 + i * 5;
            p.drawLine(QPointF(at, 3), QPointF(at, 8));
            p.drawLine(QPointF(at, 24), QPointF(at, 29));
            p.drawLine(QPointF(3, at), QPointF(8, at));
            p.drawLine(QPointF(24, at), QPointF(29, at));
        }
        break;
    case sim_cmd::kRunSlow: triangle(p, 9, kGreen); break;
    case sim_cmd::kRunFast:
        triangle(p, 3, kGreen);
        triangle(p, 15, kGreen);
        break;
    case sim_cmd::kRunRealTime: // a clock face with a play mark
        p.setBrush(QColor(250, 250, 240));
        p.drawEllipse(QRectF(3, 3, 26, 26));
        p.drawLine(QPointF(16, 16), QPointF(16, 8));
        p.drawLine(QPointF(16, 16), QPointF(22, 19));
        p.setPen(Qt::NoPen);
        p.setBrush(kGreen);
        p.drawPolygon(QPolygonF({QPointF(19, 21), QPointF(30, 26), QPointF(19, 31)}));
        break;
    case sim_cmd::kHalt:
        p.setBrush(kRed);
        p.drawRoundedRect(QRectF(7, 7, 18, 18), 2, 2);
        break;
    case sim_cmd::kSimulatorSetup: { // a gear
        p.setBrush(QColor(120, 130, 150));
        for (int tooth = 0; tooth < 8; ++tooth) {
            p.save();
            p.translate(16, 16);
            p.rotate(tooth * 45);
            p.drawRect(QRectF(-3, -14, 6, 6));
            p.restore();
        }
        p.drawEllipse(QRectF(6, 6, 20, 20));
        p.setBrush(Qt::white);
        p.drawEllipse(QRectF(12, 12, 8, 8));
        break;
    }
    default: break;
    }
}

} // namespace

QIcon simulator_toolbar_icon(int command_id) {
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    draw(painter, command_id);
    painter.end();
    return QIcon(pixmap);
}

} // namespace torva
