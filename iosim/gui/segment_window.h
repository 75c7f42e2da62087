// The window of the seven-segment devices: the hexadecimal display (two
// digits of the byte written), the single segment digit (a bit per
// segment) and the eight-digit display as the program drove it.
#pragma once

#include "iosim/gui/device_window.h"

#include <cstdint>
#include <vector>

namespace torva {

class SegmentWindow final : public DeviceWindow {
    Q_OBJECT
public:
    // The segments each digit shows now, left to right (bits as
    // kHexSegments, bit 7 the decimal point).
    using DigitSource = std::vector<uint8_t> (*)(Device& device);

    SegmentWindow(Device& device, DigitSource digits, QWidget* owner);

    // Where digit n (0 = leftmost) is drawn.
    QRectF digit_rect(int index) const;

protected:
    void paint(QPainter& painter) override;

private:
    DigitSource digits_;
    int count_;
};

// The digit sources of the three segment devices.
std::vector<uint8_t> hex_display_digits(Device& device);
std::vector<uint8_t> segment_digit_digits(Device& device);
std::vector<uint8_t> display_digits(Device& device);

} // namespace torva
