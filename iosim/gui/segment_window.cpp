// Seven-segment digits of the hexadecimal display, the segment digit and the
// eight-digit display.
#include "iosim/gui/segment_window.h"

#include "iosim/devices/display.h"
#include "iosim/devices/port_device.h"
#include "iosim/gui/device_painting.h"

#include <QPainter>

namespace torva {
namespace {

constexpr int kMargin = 14;
constexpr int kDigitW = 42;
constexpr int kDigitH = 68;
constexpr int kGap = 12;
constexpr int kFacePadding = 12;

} // namespace

std::vector<uint8_t> hex_display_digits(Device& device) {
    const uint8_t value = static_cast<PortDevice&>(device).outputs();
    return {kHexSegments[value >> 4], kHexSegments[value & 0x0F]};
}

std::vector<uint8_t> segment_digit_digits(Device& device) {
    return {static_cast<PortDevice&>(device).outputs()};
}

std::vector<uint8_t> display_digits(Device& device) {
    const auto& display = static_cast<Display&>(device);
    std::vector<uint8_t> digits;
    for (int position = 0; position < Display::kDigits; ++position) {
        const Display::Digit& d = display.digit(position);
        digits.push_back(
            uint8_t((d.lit ? kHexSegments[d.value] : 0) | (d.point ? segment::kPoint : 0)));
    }
    return digits;
}

SegmentWindow::SegmentWindow(Device& device, DigitSource digits, QWidget* owner)
    : DeviceWindow(device, owner), digits_(digits), count_(int(digits(device).size())) {
    setFixedSize(2 * (kMargin + kFacePadding) + count_ * kDigitW + (count_ - 1) * kGap,
                 2 * (kMargin + kFacePadding) + kDigitH + (count_ > 2 ? 14 : 0));
}

QRectF SegmentWindow::digit_rect(int index) const {
    return {qreal(kMargin + kFacePadding + index * (kDigitW + kGap)), qreal(kMargin + kFacePadding),
            qreal(kDigitW), qreal(kDigitH)};
}

void SegmentWindow::paint(QPainter& painter) {
    const QRectF face(kMargin, kMargin, width() - 2 * kMargin, kDigitH + 2 * kFacePadding);
    painter.setPen(QPen(palette_colour::kInk, 1.5));
    painter.setBrush(palette_colour::kDigitFace);
    painter.drawRoundedRect(face, 6, 6);
    const std::vector<uint8_t> digits = digits_(model());
    for (int i = 0; i < count_ && i < int(digits.size()); ++i) {
        draw_digit(painter, digit_rect(i), digits[size_t(i)]);
        // Positions are numbered as the program addresses them.
        if (count_ > 2)
            draw_caption(painter, {digit_rect(i).center().x() - 3, face.bottom() + 13},
                         QString::number(i), palette_colour::kFaint);
    }
}

} // namespace torva
