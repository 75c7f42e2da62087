// The CPU's one window on the world: byte reads and writes at a CPU address
// and the program page register, all owned by the memory map.
#pragma once

#include <cstdint>

namespace torva {

class MemoryBus {
  public:
    virtual ~MemoryBus() = default;

    // 0 and the byte when something answers at the address; non-zero (and the
    // byte untouched) when nothing does. Addresses above $FFFF carry a program
    // page number in bits 16 and up.
    virtual int mem_read_byte(uint32_t address, uint8_t& byte) = 0;
    // 0 when the byte was stored; non-zero when read-only or unmapped.
    virtual int mem_write_byte(uint32_t address, uint8_t byte) = 0;

    virtual uint8_t get_ppage() const = 0;
    virtual void set_ppage(uint8_t page) = 0;
};

} // namespace torva
