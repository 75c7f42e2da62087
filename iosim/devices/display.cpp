// Position selection and digit writes of the seven-segment display.
#include "iosim/devices/display.h"

namespace torva {

uint8_t Display::read(uint32_t /*offset*/) {
    return 0xFF;
}

void Display::write(uint32_t offset, uint8_t value) {
    switch (offset) {
    case kControl:
        if (value & kClear) digits_.fill(Digit{});
        position_ = value & kPositionMask;
        break;
    case kData:
        digits_[position_] =
            Digit{(value & kBlank) == 0, uint8_t(value & kValueMask), (value & kPoint) != 0};
        // The next digit goes one place to the right, wrapping at the end.
        position_ = (position_ + 1) % kDigits;
        break;
    default: return;
    }
    changed();
}

std::string Display::text() const {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string text;
    for (const Digit& d : digits_) {
        text.push_back(d.lit ? kHex[d.value] : ' ');
        if (d.point) text.push_back('.');
    }
    return text;
}

} // namespace torva
