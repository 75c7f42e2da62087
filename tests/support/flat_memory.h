// A plain 64 KB memory for CPU tests: every 16-bit address answers, unless
// marked as a hole, where reads fail and writes are refused.
#pragma once

#include "cpu/memory_bus.h"

#include <array>
#include <bitset>
#include <cstdint>
#include <vector>

namespace torva::test {

class FlatMemory final : public MemoryBus {
public:
    std::array<uint8_t, 0x10000> bytes{};
    std::bitset<0x10000> holes;
    uint8_t ppage = 0;

    int mem_read_byte(uint32_t address, uint8_t& byte) override {
        if (address > 0xFFFF || holes[address]) return 1;
        byte = bytes[address];
        return 0;
    }
    int mem_write_byte(uint32_t address, uint8_t byte) override {
        if (address > 0xFFFF || holes[address]) return 1;
        bytes[address] = byte;
        return 0;
    }
    uint8_t get_ppage() const override { return ppage; }
    void set_ppage(uint8_t page) override { ppage = page; }

    void load(uint16_t address, const std::vector<uint8_t>& program) {
        for (uint8_t byte : program)
            bytes[address++] = byte;
    }
};

} // namespace torva::test
