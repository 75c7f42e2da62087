// Register behaviour and busy timing of the printer.
#include "iosim/devices/printer.h"

#include <algorithm>

namespace torva {

uint8_t Printer::read(uint32_t offset) {
    switch (offset) {
    // The data latch is write-only: the bus board reads the status at $801,
    // which reaches the printer as register 0.
    case kData:
    case kStatus: return uint8_t((ready() ? kReady : 0) | (paper_out_ ? kPaperOut : 0));
    case kControl: return control_;
    default: return 0xFF;
    }
}

void Printer::write(uint32_t offset, uint8_t value) {
    switch (offset) {
    case kData: data_ = value; break;
    case kControl: {
        const bool rising = (value & kStrobe) && !(control_ & kStrobe);
        control_ = value;
        // A strobe while busy or out of paper is lost, as on a real printer.
        if (rising && ready()) {
            paper_.push_back(char(data_));
            busy_cycles_ = kBusyCycles;
        }
        changed();
        break;
    }
    default: break;
    }
}

bool Printer::irq_pending() const {
    return (control_ & kInterruptEnable) && ready();
}

void Printer::advance(uint32_t cycles) {
    if (busy_cycles_ == 0) return;
    busy_cycles_ -= std::min(busy_cycles_, cycles);
    if (busy_cycles_ == 0) changed();
}

void Printer::tear_off() {
    paper_.clear();
    changed();
}

void Printer::set_paper_out(bool out) {
    if (out == paper_out_) return;
    paper_out_ = out;
    changed();
}

} // namespace torva
