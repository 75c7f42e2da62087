// A line printer with a parallel interface: data, status and control
// registers, a short busy time per character and a paper-out switch.
#pragma once

#include "iosim/device.h"

#include <string>

namespace torva {

class Printer final : public Device {
public:
    enum Offset : uint32_t { kData = 0, kStatus = 1, kControl = 2 };
    // Status bits.
    static constexpr uint8_t kReady = 0x80;
    static constexpr uint8_t kPaperOut = 0x20;
    // Control bits.
    static constexpr uint8_t kStrobe = 0x01;
    static constexpr uint8_t kInterruptEnable = 0x02;
    // CPU cycles the printer stays busy after taking a character.
    static constexpr uint32_t kBusyCycles = 200;

    explicit Printer(std::string address_text)
        : Device(DeviceType::kPrinter, std::move(address_text)) {}

    // Data and status both read the status (ready and paper out); the data
    // latch is write-only. Control reads back. A rising edge of the strobe prints the data byte
    // when the printer is ready.
    uint8_t read(uint32_t offset) override;
    void write(uint32_t offset, uint8_t value) override;
    // While enabled in control and ready for the next character.
    bool irq_pending() const override;
    void advance(uint32_t cycles) override;
    uint32_t cycles_to_change() const override {
        return busy_cycles_ > 0 ? busy_cycles_ : kNoChange;
    }

    bool ready() const { return busy_cycles_ == 0 && !paper_out_; }
    // Everything printed so far, byte for byte (line ends as the program sent them).
    const std::string& paper() const { return paper_; }
    void tear_off();

    void set_paper_out(bool out);
    bool paper_out() const { return paper_out_; }

private:
    uint8_t data_ = 0;
    uint8_t control_ = 0;
    uint32_t busy_cycles_ = 0;
    bool paper_out_ = false;
    std::string paper_;
};

} // namespace torva
