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
    // A view's read: what the address holds, without side effects and
    // without the break check; 1 where that cannot be known without them.
    virtual int io_peek(uint32_t address, uint8_t& byte) const {
        (void)address;
        (void)byte;
        return 1;
    }
    // The I/O part of a CPU reset: on-chip modules and the serial interface.
    virtual void io_reset() = 0;
    // Whether any address from first to last is claimed; the memory map asks
    // before it hands out a block of storage for direct reads.
    virtual bool claims_range(uint32_t first, uint32_t last) const {
        for (uint64_t address = first; address <= last; ++address)
            if (claims(uint32_t(address))) return true;
        return false;
    }
};

} // namespace torva
