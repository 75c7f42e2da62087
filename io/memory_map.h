// The simulated memory map: 12 KB of RAM, 1 MB of flash seen through 16 KB
// pages, the program page register and ROM write enable. Every byte access of
// the CPU, the loader and the memory pane goes through here; the I/O routing,
// once attached, sees each access first.
#pragma once

#include "cpu/memory_bus.h"
#include "cpu/registers.h"
#include "io/io_routing.h"

#include <cstdint>
#include <vector>

namespace torva {

class MemoryMap final : public MemoryBus {
public:
    static constexpr uint32_t kRamSize = 0x3000;
    static constexpr uint32_t kFlashSize = 0x100000;
    static constexpr uint16_t kResetRamBase = 0x1000;
    static constexpr uint32_t kLastPage = 0x3F;

    MemoryMap();

    int mem_read_byte(uint32_t address, uint8_t& byte) override;
    int mem_write_byte(uint32_t address, uint8_t byte) override;
    // A view's read (memory and stack panes, disassembly): storage as
    // mem_read_byte gives it, I/O addresses through the routing's peek, so
    // that looking changes nothing and never trips break on IO.
    int peek_byte(uint32_t address, uint8_t& byte) const;
    uint8_t get_ppage() const override { return ppage_; }
    void set_ppage(uint8_t page) override {
        if (page != ppage_) ++layout_generation_;
        ppage_ = page;
    }

    // Direct reads: a 1 KB block of plain storage, none where the I/O
    // routing claims an address or the block is not one piece of storage.
    const uint8_t* direct_read_block(uint32_t block) override;
    // Direct writes: a 1 KB block that lies wholly in RAM and that the I/O
    // routing does not claim.
    uint8_t* direct_write_block(uint32_t block) override;
    const uint32_t* layout_generation() const override { return &layout_generation_; }
    // Blocks handed out for direct access may have moved (the I/O routing's
    // decoding changed: register block moved, board option); called by
    // whoever changes it.
    void invalidate_layout() { ++layout_generation_; }

    // Whether the loader may store a byte here: never at an I/O address;
    // always in RAM; anywhere in storage while ROM write enable is on.
    bool writable(uint32_t address) const;

    // Fills all of flash with $FF; RAM is left as it is.
    void erase();

    // Reset values of the registers, RAM base, the I/O reset; with
    // use_vector, PC from the big-endian word at $FFFE.
    void reset_cpu(CpuRegisters& regs, bool use_vector);

    bool rom_write_enable() const { return rom_write_enable_; }
    void set_rom_write_enable(bool on) { rom_write_enable_ = on; }
    uint16_t ram_base() const { return ram_base_; }

    // The I/O routing that claims addresses before storage; null for none.
    void attach_io(IoRouting* io) {
        io_ = io;
        invalidate_layout();
    }

    // The storage byte an address maps to, or null when it maps to none.
    // Ignores the I/O routing; for views that show storage.
    const uint8_t* storage(uint32_t address) const {
        if (is_ram(address)) return &ram_[address - ram_base_];
        return storage_outside_ram(address);
    }

private:
    const uint8_t* storage_outside_ram(uint32_t address) const;
    uint8_t* storage(uint32_t address) {
        return const_cast<uint8_t*>(static_cast<const MemoryMap*>(this)->storage(address));
    }
    bool is_ram(uint32_t address) const { return address - ram_base_ < kRamSize; }

    std::vector<uint8_t> ram_;
    std::vector<uint8_t> flash_;
    uint16_t ram_base_ = kResetRamBase;
    uint8_t ppage_ = 0;
    bool rom_write_enable_ = false;
    IoRouting* io_ = nullptr;
    // Changes whenever a block handed out for direct reads may have changed.
    uint32_t layout_generation_ = 0;
};

} // namespace torva
