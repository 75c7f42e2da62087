// Register behaviour of the core block, including the breakpoint comparison.
#include "cpu/onchip/core_block.h"

namespace torva {

namespace {

// Bits a program can change in each register; 0 marks a read-only or absent
// register. The port registers are handled apart because of the board mode.
constexpr std::array<uint8_t, CoreBlock::kSize> make_write_masks() {
    std::array<uint8_t, CoreBlock::kSize> masks{};
    masks[CoreBlock::kRegisterMapping] = 0x78;
    masks[CoreBlock::kEepromMapping] = 0xF1;
    for (uint16_t offset = CoreBlock::kBreakControl0; offset <= CoreBlock::kBreakAddress1 + 2;
         ++offset)
        masks[offset] = 0xFF;
    return masks;
}
constexpr std::array<uint8_t, CoreBlock::kSize> kWriteMasks = make_write_masks();

// Values the read-only registers report. RAM mapping $11: 12 KB of RAM placed
// at the top of the first 16 KB, i.e. $1000-$3FFF, where the simulated RAM
// sits. Part id $0012 and memory size $25 (4 KB EEPROM, 12 KB RAM) describe
// the 256 KB family member the board carries.
constexpr uint8_t kRamMappingValue = 0x11;
constexpr uint8_t kPartIdHighValue = 0x00;
constexpr uint8_t kPartIdLowValue = 0x12;
constexpr uint8_t kMemorySizeValue = 0x25;

// Page and 16-bit address of the program window an instruction address lies
// in; below $4000 the address is not paged.
struct PagedAddress {
    bool paged;
    uint8_t page;
    uint16_t window;
};

PagedAddress paged_address(uint16_t pc, uint8_t ppage) {
    if (pc < 0x4000) return {false, 0, pc};
    if (pc < 0x8000) return {true, 0x3E, uint16_t(pc + 0x4000)};
    if (pc < 0xC000) return {true, ppage, pc};
    return {true, 0x3F, uint16_t(pc - 0x4000)};
}

} // namespace

CoreBlock::CoreBlock(MemoryBus& bus) : bus_(bus) {
    regs_[kRamMapping] = kRamMappingValue;
    regs_[kPartIdHigh] = kPartIdHighValue;
    regs_[kPartIdLow] = kPartIdLowValue;
    regs_[kMemorySize] = kMemorySizeValue;
}

uint8_t CoreBlock::read(uint16_t offset) const {
    if (offset >= kSize) return 0;
    switch (offset) {
    case kPortA:
    case kPortB: {
        if (!ports_modelled_) return 0xFF;
        // An output bit reads what was written; an input pin floats high.
        const uint8_t ddr = regs_[kDdrA + offset];
        return uint8_t((regs_[offset] & ddr) | ~ddr);
    }
    case kDdrA:
    case kDdrB: return ports_modelled_ ? regs_[offset] : 0xFF;
    case kPpage: return bus_.get_ppage();
    default: return regs_[offset];
    }
}

void CoreBlock::write(uint16_t offset, uint8_t value) {
    if (offset >= kSize) return;
    switch (offset) {
    case kPortA:
    case kPortB:
        if (ports_modelled_) regs_[offset] = value & regs_[kDdrA + offset];
        break;
    case kDdrA:
    case kDdrB:
        if (ports_modelled_) regs_[offset] = value;
        break;
    case kPpage: bus_.set_ppage(value); break;
    default:
        if (kWriteMasks[offset] != 0) regs_[offset] = value & kWriteMasks[offset];
        break;
    }
}

void CoreBlock::reset() {
    for (uint16_t offset : {kPortA, kPortB, kDdrA, kDdrB})
        regs_[offset] = 0;
    regs_[kBreakControl0] = 0;
    regs_[kBreakAddress0 + 2] = 0;
    bus_.set_ppage(0);
}

bool CoreBlock::breakpoint_match(uint16_t pc) const {
    // Armed: enable bit 7 set, bit 6 (full-address mode) clear.
    if ((regs_[kBreakControl0] & 0xC0) != 0x80) return false;
    const PagedAddress here = paged_address(pc, bus_.get_ppage());
    for (uint16_t pair : {kBreakAddress0, kBreakAddress1}) {
        const uint16_t address = uint16_t(regs_[pair + 1] << 8 | regs_[pair + 2]);
        if (address != here.window) continue;
        if (!here.paged || regs_[pair] == here.page) return true;
    }
    return false;
}

uint8_t CoreBlock::port_output(int port) const {
    const int index = port & 1;
    return regs_[kPortA + index] & regs_[kDdrA + index];
}

} // namespace torva
