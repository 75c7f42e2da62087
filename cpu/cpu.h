// The one simulated CPU: its registers, the per-step context, the flags that
// outlive a step, and the accessors the simulator window and run control use.
#pragma once

#include "cpu/memory_bus.h"
#include "cpu/registers.h"

#include <cstdint>

namespace torva {

class Cpu {
public:
    explicit Cpu(MemoryBus& bus) : bus_(bus) {}
    Cpu(const Cpu&) = delete;
    Cpu& operator=(const Cpu&) = delete;

    CpuRegisters regs;
    StepContext ctx;
    // Stopped in WAI or STOP: executes nothing until an interrupt is taken.
    bool cpu_waiting = false;
    // Code of the interrupt source whose service routine runs (0 = none).
    uint8_t irq_in_service = 0;

    MemoryBus& bus() { return bus_; }

    // Register access by the window's numbering (0 PC ... 6 Y). Unknown
    // numbers read 0, ignore writes, have width 100 and radix 0.
    uint32_t get_register(int number) const;
    void set_register(int number, uint32_t value);
    static int register_width(int number);
    static int register_radix(int number);

    // Where the next step starts: with ppage $30 or more and PC in the program
    // page window, ppage * $10000 + PC; else PC.
    uint32_t current_execution_address() const;

    // Register access by the transfer/loop numbering (0 A, 1 B, 4 D, 5 X,
    // 6 Y, 7 SP); other numbers read 0 and ignore writes.
    uint16_t get_transfer_register(int number) const;
    void set_transfer_register(int number, uint16_t value);

    uint8_t get_ppage() const { return bus_.get_ppage(); }
    void set_ppage(uint8_t page) { bus_.set_ppage(page); }

    // Stack: SP wraps at 16 bits; a word stands high byte first. Failed
    // reads give 0.
    void push_byte(uint8_t value);
    void push_word(uint16_t value);
    uint8_t pull_byte();
    uint16_t pull_word();

    // A direct operand or stack read: a byte nothing answers for reads as 0.
    uint8_t read_byte(uint32_t address) {
        uint8_t value = 0;
        bus_.mem_read_byte(address, value);
        return value;
    }
    uint16_t read_word(uint32_t address) {
        return uint16_t(read_byte(address) << 8 | read_byte(address + 1));
    }
    void write_byte(uint32_t address, uint8_t value) { bus_.mem_write_byte(address, value); }

private:
    MemoryBus& bus_;
};

} // namespace torva
