// The seam through which the I/O routing claims addresses before the memory
// map looks at storage: the on-chip register block and the board's I/O bus.
#pragma once

#include <cstdint>

namespace torva {

class IoRouting {
public:
    virtual ~IoRouting() = default;

    // Yes for an I/O register address or an address in the external bus window.
    virtual bool claims(uint32_t address) const = 0;
    // 0 for success, 1 for failure.
    virtual int io_read(uint32_t address, uint8_t& byte) = 0;
    virtual int io_write(uint32_t address, uint8_t byte) = 0;
    // The I/O part of a CPU reset: on-chip modules and the serial interface.
    virtual void io_reset() = 0;
    // A value that changes whenever the set of claimed addresses may have
    // changed (the register block moved). The memory map compares it around
    // every I/O write, so storage it handed out as plain stays plain.
    virtual uint32_t claims_layout() const { return 0; }
};

} // namespace torva
