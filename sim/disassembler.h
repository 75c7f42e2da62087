// Disassembly for the window's panes: the text and length of the instruction
// at an address, produced by the same decoding path that executes programs,
// on a CPU of its own that reads memory without side effects, so that the
// simulated CPU's step state is never touched.
#pragma once

#include "cpu/cpu.h"
#include "io/memory_map.h"

#include <cstdint>
#include <optional>
#include <string>

namespace torva {

struct Disassembly {
    std::string text;    // mnemonic and operand, as the trace gives them
    uint32_t length = 1; // bytes of the instruction
};

class Disassembler {
public:
    explicit Disassembler(MemoryMap& memory);
    Disassembler(const Disassembler&) = delete;
    Disassembler& operator=(const Disassembler&) = delete;

    // None when the first byte at address cannot be read (nothing there,
    // or a device register that a look would disturb).
    std::optional<Disassembly> disassemble(uint32_t address);

private:
    // Reads through the memory map's peek, refuses every write, and follows
    // the real program page.
    class PeekBus final : public MemoryBus {
    public:
        explicit PeekBus(MemoryMap& memory) : memory_(memory) {}
        int mem_read_byte(uint32_t address, uint8_t& byte) override {
            return memory_.peek_byte(address, byte);
        }
        int mem_write_byte(uint32_t, uint8_t) override { return 1; }
        uint8_t get_ppage() const override { return memory_.get_ppage(); }
        void set_ppage(uint8_t) override {}

    private:
        MemoryMap& memory_;
    };

    MemoryMap& memory_;
    PeekBus bus_;
    Cpu cpu_;
    std::string text_;
};

} // namespace torva
