// Address decoding of RAM and paged flash, and the CPU reset.
#include "io/memory_map.h"

#include <algorithm>
#include <cstddef>

namespace torva {

namespace {
// Flash layout: page $3F at F[0], page $3E at F[$4000], pages $00-$3D from
// F[$8000] on. The fixed windows $4000-$7FFF and $C000-$FFFF show pages $3E
// and $3F.
constexpr uint32_t flash_offset_of_page(uint32_t page) {
    if (page == 0x3F) return 0;
    if (page == 0x3E) return 0x4000;
    return 0x8000 + page * 0x4000;
}
static_assert(flash_offset_of_page(0x3D) + 0x4000 == MemoryMap::kFlashSize);
} // namespace

MemoryMap::MemoryMap() : ram_(kRamSize, 0), flash_(kFlashSize, 0xFF) {}

const uint8_t* MemoryMap::storage_outside_ram(uint32_t address) const {
    if (address >= 0x4000 && address <= 0x7FFF) return &flash_[address];
    if (address >= 0xC000 && address <= 0xFFFF) return &flash_[address - 0xC000];
    const uint32_t low = address & 0xFFFF;
    if (low < 0x8000 || low > 0xBFFF) return nullptr;
    uint32_t page = address >> 16;
    if (page == 0) page = ppage_;
    // A page beyond the last one (from the address or from the page
    // register) is not backed by flash.
    if (page > kLastPage) return nullptr;
    return &flash_[flash_offset_of_page(page) + (low - 0x8000)];
}

int MemoryMap::mem_read_byte(uint32_t address, uint8_t& byte) {
    if (io_ && io_->claims(address)) return io_->io_read(address, byte);
    const uint8_t* cell = storage(address);
    if (!cell) return 1;
    byte = *cell;
    return 0;
}

int MemoryMap::peek_byte(uint32_t address, uint8_t& byte) const {
    if (io_ && io_->claims(address)) return io_->io_peek(address, byte);
    const uint8_t* cell = storage(address);
    if (!cell) return 1;
    byte = *cell;
    return 0;
}

int MemoryMap::mem_write_byte(uint32_t address, uint8_t byte) {
    // A register write that moves the register block changes the layout
    // through invalidate_layout.
    if (io_ && io_->claims(address)) return io_->io_write(address, byte);
    if (!writable(address)) return 1;
    uint8_t* cell = storage(address);
    if (!cell) return 1;
    *cell = byte;
    return 0;
}

bool MemoryMap::writable(uint32_t address) const {
    if (io_ && io_->claims(address)) return false;
    if (is_ram(address)) return true;
    return rom_write_enable_ && storage(address) != nullptr;
}

void MemoryMap::erase() {
    std::fill(flash_.begin(), flash_.end(), uint8_t(0xFF));
}

void MemoryMap::reset_cpu(CpuRegisters& regs, bool use_vector) {
    regs.ccr = 0xD0;
    regs.a = regs.b = 0;
    regs.x = regs.y = 0;
    regs.sp = 0x3C80;
    ram_base_ = kResetRamBase;
    if (io_) io_->io_reset();
    ++layout_generation_;
    if (use_vector) {
        uint8_t high = 0, low = 0;
        mem_read_byte(0xFFFE, high);
        mem_read_byte(0xFFFF, low);
        regs.pc = uint16_t(high << 8 | low);
    }
}

const uint8_t* MemoryMap::direct_read_block(uint32_t block) {
    const uint32_t size = 1u << kDirectBlockBits;
    const uint32_t first = block << kDirectBlockBits;
    const uint32_t last = first + size - 1;
    if (block >= kDirectBlocks || (io_ && io_->claims_range(first, last))) return nullptr;
    if (is_ram(first) && is_ram(last)) return &ram_[first - ram_base_];
    if (is_ram(first) || is_ram(last)) return nullptr;
    // Outside RAM a block is direct when both ends map to flash one block
    // apart (a flash page never splits a 1 KB block).
    const uint8_t* low = storage_outside_ram(first);
    const uint8_t* high = storage_outside_ram(last);
    if (!low || !high || high - low != std::ptrdiff_t(size - 1)) return nullptr;
    return low;
}

uint8_t* MemoryMap::direct_write_block(uint32_t block) {
    const uint32_t first = block << kDirectBlockBits;
    const uint32_t last = first + (1u << kDirectBlockBits) - 1;
    if (block >= kDirectBlocks || !is_ram(first) || !is_ram(last)) return nullptr;
    if (io_ && io_->claims_range(first, last)) return nullptr;
    return &ram_[first - ram_base_];
}

} // namespace torva
