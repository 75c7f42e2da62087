// What the CPU asks of the on-chip modules and the run control when it
// enters or leaves an exception: the breakpoint match, the vector of a
// pending on-chip request and the end of an interrupt's service.
#pragma once

#include <cstdint>

namespace torva {

class InterruptHost {
public:
    virtual ~InterruptHost() = default;

    // Whether the breakpoint module has an armed address matching the PC
    // (seen through the program page register).
    virtual bool breakpoint_match(uint16_t pc, uint8_t ppage) {
        (void)pc;
        (void)ppage;
        return false;
    }
    // The vector address of the first pending on-chip request (clock module
    // real-time interrupt, its second interrupt, first serial interface,
    // second serial interface, in that order), or 0 when none is pending.
    virtual uint16_t onchip_vector() { return 0; }
    // RTI has ended the service of this source (the code cpu_interrupt took).
    virtual void service_ended(uint8_t source) { (void)source; }
};

} // namespace torva
