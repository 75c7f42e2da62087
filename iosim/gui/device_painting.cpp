// LEDs, lamps, captions and seven-segment digits.
#include "iosim/gui/device_painting.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QPainter>
#include <QPolygonF>
#include <QRadialGradient>

#include <algorithm>

namespace torva {
namespace {

// Geometry of a digit inside its rect, in fractions of the rect: the
// segments' thickness and the digit's body (the point sits right of it).
struct DigitFrame {
    qreal left, top, width, height, thickness;
};

DigitFrame frame_of(const QRectF& r) {
    const qreal body_width = r.width() * 0.78;
    const qreal thickness = body_width * 0.17;
    return {r.left() + thickness * 0.5, r.top() + thickness * 0.5, body_width - thickness,
            r.height() - thickness, thickness};
}

// A segment as a long hexagon from a to b.
QPolygonF bar(QPointF a, QPointF b, qreal thickness) {
    const qreal h = thickness / 2;
    const qreal gap = thickness * 0.12;
    if (a.y() == b.y()) {
        const qreal x0 = a.x() + gap, x1 = b.x() - gap, y = a.y();
        return QPolygonF(
            {{x0, y}, {x0 + h, y - h}, {x1 - h, y - h}, {x1, y}, {x1 - h, y + h}, {x0 + h, y + h}});
    }
    const qreal y0 = a.y() + gap, y1 = b.y() - gap, x = a.x();
    return QPolygonF(
        {{x, y0}, {x + h, y0 + h}, {x + h, y1 - h}, {x, y1}, {x - h, y1 - h}, {x - h, y0 + h}});
}

// The two end points of each segment a-g.
std::array<std::pair<QPointF, QPointF>, 7> segment_ends(const DigitFrame& f) {
    const QPointF tl(f.left, f.top), tr(f.left + f.width, f.top);
    const QPointF ml(f.left, f.top + f.height / 2), mr(f.left + f.width, f.top + f.height / 2);
    const QPointF bl(f.left, f.top + f.height), br(f.left + f.width, f.top + f.height);
    return {{{tl, tr}, {tr, mr}, {mr, br}, {bl, br}, {ml, bl}, {tl, ml}, {ml, mr}}};
}

QRectF point_rect(const QRectF& r, const DigitFrame& f) {
    const qreal size = f.thickness * 1.1;
    return {r.right() - size * 1.2, f.top + f.height - size / 2, size, size};
}

} // namespace

void draw_led(QPainter& painter, const QRectF& rect, bool lit, const QColor& on,
              const QColor& off) {
    draw_led_level(painter, rect, lit ? 1.0 : 0.0, on, off);
}

void draw_led_level(QPainter& painter, const QRectF& rect, double level, const QColor& on,
                    const QColor& off) {
    painter.save();
    painter.setPen(QPen(palette_colour::kInk, 1.2));
    level = std::clamp(level, 0.0, 1.0);
    if (level > 0) {
        // Between the unlit colour and the lit one, with a glow that grows
        // with the level.
        const auto mix = [&](int a, int b) { return int(a + (b - a) * level + 0.5); };
        const QColor colour(mix(off.red(), on.red()), mix(off.green(), on.green()),
                            mix(off.blue(), on.blue()));
        QRadialGradient glow(rect.center() - QPointF(rect.width() * 0.15, rect.height() * 0.15),
                             rect.width() * 0.6);
        glow.setColorAt(0, colour.lighter(100 + int(50 * level)));
        glow.setColorAt(0.5, colour);
        glow.setColorAt(1, colour.darker(115));
        painter.setBrush(glow);
    } else {
        painter.setBrush(off);
    }
    painter.drawEllipse(rect);
    painter.restore();
}

qreal draw_lamp(QPainter& painter, QPointF top_left, const QString& caption, bool lit,
                const QColor& on) {
    const qreal size = 12;
    draw_led(painter, QRectF(top_left, QSizeF(size, size)), lit, on, palette_colour::kLampOff);
    QFont font = painter.font();
    font.setPointSizeF(8);
    painter.save();
    painter.setFont(font);
    const QFontMetricsF metrics(font);
    painter.setPen(palette_colour::kInk);
    painter.drawText(QPointF(top_left.x() + size + 4, top_left.y() + size - 2), caption);
    painter.restore();
    return size + 4 + metrics.horizontalAdvance(caption) + 12;
}

void draw_digit(QPainter& painter, const QRectF& rect, uint8_t segments) {
    const DigitFrame f = frame_of(rect);
    const auto ends = segment_ends(f);
    painter.save();
    painter.setPen(Qt::NoPen);
    for (int i = 0; i < 7; ++i) {
        painter.setBrush((segments >> i) & 1 ? palette_colour::kLedOn
                                             : palette_colour::kSegmentOff);
        painter.drawPolygon(bar(ends[size_t(i)].first, ends[size_t(i)].second, f.thickness));
    }
    painter.setBrush(segments & segment::kPoint ? palette_colour::kLedOn
                                                : palette_colour::kSegmentOff);
    painter.drawEllipse(point_rect(rect, f));
    painter.restore();
}

QPointF segment_centre(const QRectF& rect, int index) {
    const DigitFrame f = frame_of(rect);
    if (index == 7) return point_rect(rect, f).center();
    const auto [a, b] = segment_ends(f)[size_t(index & 7) % 7];
    return (a + b) / 2;
}

QFont fixed_pitch_font(const QString& face, int points) {
    QFont font(face);
    font.setStyleHint(QFont::TypeWriter);
    font.setPointSize(points);
    if (!QFontInfo(font).fixedPitch())
        font.setFamily(QFontDatabase::systemFont(QFontDatabase::FixedFont).family());
    return font;
}

void draw_caption(QPainter& painter, QPointF at, const QString& text, const QColor& colour) {
    painter.save();
    QFont font = painter.font();
    font.setPointSizeF(8);
    painter.setFont(font);
    painter.setPen(colour);
    painter.drawText(at, text);
    painter.restore();
}

} // namespace torva
