// What the CPU asks of the on-chip modules and the run control when it
// enters or leaves an exception: the breakpoint match, the vector of a
// pending on-chip request and the end of an interrupt's service.
#pragma once

#include <cstdint>

namespace torva {

// The request line an interrupt comes in on. IRQ and XIRQ are the CPU's two
// pins; the codes 3 to 7 are further request lines that no mask holds back;
// any other code is taken as IRQ.
enum class InterruptSource : uint8_t {
    kNone = 0, // no interrupt in service
    kIrq = 1,
    kXirq = 2,
};

constexpr bool is_unmaskable(InterruptSource source) {
    return uint8_t(source) >= 3 && uint8_t(source) <= 7;
}

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
    virtual void service_ended(InterruptSource source) { (void)source; }
};

} // namespace torva
