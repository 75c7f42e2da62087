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

    // Optional fast path for reads, which the CPU makes for every
    // instruction byte. A bus that offers it hands out the plain storage
    // (no I/O register, no device) behind a 1 KB block of the 16-bit address
    // space, and keeps a layout counter that it changes whenever a block it
    // handed out may have moved or stopped being plain storage (program page,
    // RAM position, I/O routing). The $8000-$BFFF blocks are those of the
    // current program page. Without a counter (null) there is no fast path.
    static constexpr uint32_t kDirectBlockBits = 10;
    static constexpr uint32_t kDirectBlocks = 0x10000 >> kDirectBlockBits;
    virtual const uint8_t* direct_read_block(uint32_t block) {
        (void)block;
        return nullptr;
    }
    // The same for writes: a block of RAM that takes plain stores (no I/O,
    // no flash), covered by the same layout counter.
    virtual uint8_t* direct_write_block(uint32_t block) {
        (void)block;
        return nullptr;
    }
    virtual const uint32_t* layout_generation() const { return nullptr; }
};

} // namespace torva
