// Drawing pieces the device windows share: colours, LEDs and lamps with
// their captions, and seven-segment digits drawn segment by segment.
#pragma once

#include <QColor>
#include <QFont>
#include <QPointF>
#include <QRectF>
#include <QString>

#include <array>
#include <cstdint>

class QPainter;

namespace torva {

namespace palette_colour {
inline const QColor kPanel{226, 228, 231};   // window background
inline const QColor kInk{40, 44, 52};        // captions and outlines
inline const QColor kFaint{120, 126, 136};   // secondary text
inline const QColor kLedOn{238, 32, 32};     // a lit red LED or segment
inline const QColor kLedOff{96, 40, 40};     // an unlit LED
inline const QColor kLampOn{255, 196, 0};    // a lit indicator lamp
inline const QColor kLampOff{150, 150, 140}; // an unlit lamp
inline const QColor kDigitFace{24, 22, 22};  // behind seven-segment digits
inline const QColor kSegmentOff{58, 30, 30}; // an unlit segment
inline const QColor kWarning{214, 40, 40};   // alarm, broken, squeezed
} // namespace palette_colour

// Segment bits of a seven-segment digit: bit 0 a (top), 1 b (top right),
// 2 c (bottom right), 3 d (bottom), 4 e (bottom left), 5 f (top left),
// 6 g (middle), 7 the decimal point.
namespace segment {
inline constexpr uint8_t kA = 0x01, kB = 0x02, kC = 0x04, kD = 0x08, kE = 0x10, kF = 0x20,
                         kG = 0x40, kPoint = 0x80;
} // namespace segment

// The segments that show a hexadecimal digit (A, b, C, d, E, F for 10-15).
inline constexpr std::array<uint8_t, 16> kHexSegments = {
    0x3F, 0x06, 0x5B, 0x4F, 0x66, 0x6D, 0x7D, 0x07, 0x7F, 0x6F, 0x77, 0x7C, 0x39, 0x5E, 0x79, 0x71,
};

// A round LED in rect, lit or not.
void draw_led(QPainter& painter, const QRectF& rect, bool lit,
              const QColor& on = palette_colour::kLedOn,
              const QColor& off = palette_colour::kLedOff);
// The same at a level between 0 (unlit) and 1 (lit): an LED lit for part
// of a display frame, as the eye sees it.
void draw_led_level(QPainter& painter, const QRectF& rect, double level,
                    const QColor& on = palette_colour::kLedOn,
                    const QColor& off = palette_colour::kLedOff);

// A small lamp with its caption to the right, as a status row shows it.
// Gives the width it took.
qreal draw_lamp(QPainter& painter, QPointF top_left, const QString& caption, bool lit,
                const QColor& on = palette_colour::kLampOn);

// One seven-segment digit filling rect (about 3:5), lit segments by bit.
void draw_digit(QPainter& painter, const QRectF& rect, uint8_t segments);
// The middle of a segment (index 0 a ... 6 g, 7 the point) of a digit in rect.
QPointF segment_centre(const QRectF& rect, int index);

// A fixed-pitch font of the face and size, or the platform's fixed-pitch
// family where the face is missing.
QFont fixed_pitch_font(const QString& face, int points);

// A caption in small type at a point (its baseline's left end).
void draw_caption(QPainter& painter, QPointF at, const QString& text,
                  const QColor& colour = palette_colour::kInk);

} // namespace torva
