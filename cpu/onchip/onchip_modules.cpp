// Dispatch of register-block offsets to the on-chip modules.
#include "cpu/onchip/onchip_modules.h"

namespace torva {

namespace {

enum class Module { kCore, kClock, kSerial0, kSerial1 };

struct Range {
    uint16_t first;
    uint16_t last;
    Module module;
};

// Where each module sits in the register block.
constexpr Range kRanges[] = {
    {0x00, 0x33, Module::kCore},
    {0x34, 0x3F, Module::kClock},
    {0xC8, 0xCF, Module::kSerial0},
    {0xD0, 0xDF, Module::kSerial1},
};

const Range* find_range(uint16_t offset) {
    for (const Range& range : kRanges)
        if (offset >= range.first && offset <= range.last) return &range;
    return nullptr;
}

} // namespace

bool OnChipModules::read(uint16_t offset, uint8_t& byte) {
    const Range* range = find_range(offset);
    if (!range) return false;
    const int reg = offset - range->first;
    switch (range->module) {
    case Module::kCore: byte = core.read(offset); break;
    case Module::kClock: byte = clock.read(reg); break;
    case Module::kSerial0:
    case Module::kSerial1:
        // Reading the data register clears receive flags, reading the baud
        // register completes the baud setting: the run loop has a look.
        if (reg == SerialInterface::kDataLow || reg == SerialInterface::kBaudLow)
            run_clock.attend();
        byte = serial[range->module == Module::kSerial1].read(reg);
        break;
    }
    return true;
}

bool OnChipModules::peek(uint16_t offset, uint8_t& byte) const {
    const Range* range = find_range(offset);
    if (!range) return false;
    const int reg = offset - range->first;
    switch (range->module) {
    case Module::kCore: byte = core.read(offset); break;
    case Module::kClock: byte = clock.read(reg); break;
    case Module::kSerial0: byte = serial[0].peek(reg); break;
    case Module::kSerial1: byte = serial[1].peek(reg); break;
    }
    return true;
}

bool OnChipModules::write(uint16_t offset, uint8_t byte) {
    const Range* range = find_range(offset);
    if (!range) return false;
    const int reg = offset - range->first;
    switch (range->module) {
    case Module::kCore: core.write(offset, byte); return true;
    case Module::kClock: clock.write(reg, byte, run_clock.total()); break;
    case Module::kSerial0: serial[0].write(reg, byte); break;
    case Module::kSerial1: serial[1].write(reg, byte); break;
    }
    // Interrupt enables, flags, the real-time period or a transmission may
    // have changed.
    run_clock.attend();
    return true;
}

void OnChipModules::reset() {
    clock.reset();
    for (SerialInterface& interface : serial)
        interface.reset();
    core.reset();
}

std::optional<uint16_t> OnChipModules::pending_vector(uint32_t total_cycles) {
    if (auto vector = clock.pending_vector(total_cycles)) return vector;
    for (const SerialInterface& interface : serial)
        if (auto vector = interface.pending_vector()) return vector;
    return std::nullopt;
}

} // namespace torva
