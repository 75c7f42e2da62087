// An eight-digit seven-segment display with a hexadecimal decoder: the
// program selects a digit position, then writes digits that fill the
// positions from there to the right.
#pragma once

#include "iosim/device.h"

#include <array>
#include <string>

namespace torva {

class Display final : public Device {
public:
    static constexpr int kDigits = 8;
    enum Offset : uint32_t { kControl = 0, kData = 1 };
    // Control bits: bits 2-0 select the position (0 = leftmost); bit 7
    // blanks every digit first.
    static constexpr uint8_t kPositionMask = 0x07;
    static constexpr uint8_t kClear = 0x80;
    // Data bits: bits 3-0 the hexadecimal digit, bit 4 blanks the digit,
    // bit 7 lights the decimal point after it.
    static constexpr uint8_t kValueMask = 0x0F;
    static constexpr uint8_t kBlank = 0x10;
    static constexpr uint8_t kPoint = 0x80;

    struct Digit {
        bool lit = false;
        uint8_t value = 0;
        bool point = false;
    };

    explicit Display(std::string address_text)
        : Device(DeviceType::kDisplay, std::move(address_text)) {}

    // Write-only: reads give $FF.
    uint8_t read(uint32_t offset) override;
    void write(uint32_t offset, uint8_t value) override;

    const Digit& digit(int position) const { return digits_[position & kPositionMask]; }
    int position() const { return position_; }
    // The display as text: a hexadecimal digit or a space per position, a
    // '.' after each lit decimal point.
    std::string text() const;

private:
    std::array<Digit, kDigits> digits_{};
    int position_ = 0;
};

} // namespace torva
