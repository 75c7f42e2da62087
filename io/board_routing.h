// The I/O routing of the simulated board: which addresses are I/O, and where
// each access goes — the on-chip register block, the fixed device addresses of
// the bus board, or the devices of the external bus window.
#pragma once

#include "cpu/onchip/onchip_modules.h"
#include "io/board_option.h"
#include "io/device_setup.h"
#include "io/io_routing.h"

#include <cstdint>
#include <functional>
#include <optional>

namespace torva {

class BoardRouting final : public IoRouting {
public:
    static constexpr uint32_t kRegisterBlockSize = 0x400;
    // The bus board decodes these addresses onto its I/O bus.
    static constexpr uint32_t kWindowFirst = 0x400;
    static constexpr uint32_t kWindowLast = 0xFFF;
    // What a program reads when break on IO suppresses its read: the value
    // of an idle bus, the same as an unanswered register.
    static constexpr uint8_t kSuppressedRead = 0xFF;

    BoardRouting(OnChipModules& modules, DeviceSetup& setup);

    // Every fixed bus address lies in the window, so past the register block
    // the window alone decides; this runs for every memory access.
    bool claims(uint32_t address) const override {
        return address - register_base() < kRegisterBlockSize || in_external_window(address);
    }
    bool claims_range(uint32_t first, uint32_t last) const override {
        const uint32_t base = register_base();
        if (first <= base + kRegisterBlockSize - 1 && last >= base) return true;
        return !is_bare_board(setup_.option_word()) && first <= kWindowLast && last >= kWindowFirst;
    }
    int io_read(uint32_t address, uint8_t& byte) override;
    int io_write(uint32_t address, uint8_t byte) override;
    // The on-chip registers as they stand (no receiver emptied, no toggle
    // flipped, no break check); device addresses give 1: a device's read
    // may change it, so a view does not ask.
    int io_peek(uint32_t address, uint8_t& byte) const override;
    // Resets the on-chip modules and puts the register block back at 0, then
    // sets up serial interface 0 for the monitor (set_up_serial0).
    void io_reset() override;
    // Serial interface 0 as the monitor expects it after a reset: baud
    // divisor 1, transmitter and receiver enabled (when a device is attached).
    void set_up_serial0();

    // Break on IO: asked with the address of every I/O access; true means the
    // run halts and this access is not made (a read gives kSuppressedRead).
    using BreakCheck = std::function<bool(uint32_t address)>;
    void set_break_check(BreakCheck check) { break_check_ = std::move(check); }

    // Called when a register write moved the register block, so that the
    // memory map's direct blocks are asked again.
    void set_layout_callback(std::function<void()> callback) {
        on_layout_change_ = std::move(callback);
    }

    // Told of every byte the program writes to the board's bus (fixed device
    // addresses and the bus window, device or not) and of the pins a bare
    // board's port passes to its device, for logs of what a program drove.
    using DeviceWriteObserver = std::function<void(uint32_t address, uint8_t byte)>;
    void set_device_write_observer(DeviceWriteObserver observer) {
        device_write_observer_ = std::move(observer);
    }
    // Told of every byte the program writes into the on-chip register block,
    // by its offset there (waveforms show the port registers from it).
    using RegisterWriteObserver = std::function<void(uint16_t offset, uint8_t byte)>;
    void set_register_write_observer(RegisterWriteObserver observer) {
        register_write_observer_ = std::move(observer);
    }

    // The vector of the first on-chip module that requests an interrupt:
    // clock module, serial interface 0 ($FFD6), serial interface 1 ($FFD4).
    std::optional<uint16_t> interrupt_vector(uint32_t total_cycles) {
        return modules_.pending_vector(total_cycles);
    }

    uint16_t register_base() const { return modules_.core.register_base(); }
    // In the register block, or (option word 0 only) a fixed device address.
    bool is_register_address(uint32_t address) const;
    bool in_external_window(uint32_t address) const {
        return !is_bare_board(setup_.option_word()) && address >= kWindowFirst &&
               address <= kWindowLast;
    }

private:
    bool fixed_bus_active() const { return setup_.option_word() == 0; }
    void sync_board_mode();
    uint8_t register_read(uint32_t address);
    void register_write(uint32_t address, uint8_t byte);
    uint8_t block_read(uint16_t offset);
    void block_write(uint16_t offset, uint8_t byte);
    uint8_t range_read(uint32_t address);
    void range_write(uint32_t address, uint8_t byte);
    // The device of a bus-board row when it is open, else -1.
    int32_t bus_device(int row);
    // The slot whose device covers a window address; -1 for none.
    int find_range_slot(uint32_t address);

    OnChipModules& modules_;
    DeviceSetup& setup_;
    IoSimLibrary& library_;
    BreakCheck break_check_;
    DeviceWriteObserver device_write_observer_;
    RegisterWriteObserver register_write_observer_;
    std::function<void()> on_layout_change_;
    // Unimplemented module ranges read this byte, complemented on every read,
    // so polling loops waiting for a flag in either state move on.
    uint8_t toggle_ = 0;
};

} // namespace torva
