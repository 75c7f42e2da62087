// The one simulated CPU: its registers, the per-step context, the flags that
// outlive a step, and the accessors the simulator window and run control use.
#pragma once

#include "cpu/cycle_model.h"
#include "cpu/interrupt_host.h"
#include "cpu/memory_bus.h"
#include "cpu/onchip/run_clock.h"
#include "cpu/opcode_map.h"
#include "cpu/registers.h"

#include <array>
#include <bitset>
#include <cstdint>
#include <functional>
#include <span>
#include <string_view>
#include <type_traits>
#include <utility>

namespace torva {

// Receives the disassembly text of a traced step piece by piece, in order.
using TraceSink = std::function<void(std::string_view)>;
using UndefinedSink = std::function<void(uint32_t address, bool trapped)>;

class Cpu {
public:
    explicit Cpu(MemoryBus& bus)
        : bus_(bus), layout_generation_(bus.layout_generation()), entries_(&kClassicEntries) {
        forget_blocks();
    }
    Cpu(const Cpu&) = delete;
    Cpu& operator=(const Cpu&) = delete;

    // How steps and interrupt entry count bus cycles: the classic
    // approximation (the default) or the CPU12 manual's counts. Everything
    // that takes its time from the CPU's cycles follows the choice.
    void set_cycle_model(CycleModel model);
    CycleModel cycle_model() const { return cycle_model_; }

    CpuRegisters regs;
    StepContext ctx;
    // Stopped in WAI or STOP: executes nothing until an interrupt is taken.
    bool cpu_waiting = false;
    // The interrupt source whose service routine runs.
    InterruptSource irq_in_service = InterruptSource::kNone;

    MemoryBus& bus() { return bus_; }

    // Register access by the window's numbering (0 PC ... 6 Y). Unknown
    // numbers read 0, ignore writes, have width 100 and radix 0.
    uint32_t get_register(int number) const;
    void set_register(int number, uint32_t value);
    static int register_width(int number);
    static int register_radix(int number);

    // Where the next step starts: with ppage $30 or more and PC in the program
    // page window, ppage * $10000 + PC; else PC.
    uint32_t current_execution_address() const {
        return execution_address(current_ppage(), regs.pc);
    }

    // Register access by the transfer/loop numbering (0 A, 1 B, 4 D, 5 X,
    // 6 Y, 7 SP); other numbers read 0 and ignore writes.
    uint16_t get_transfer_register(int number) const;
    void set_transfer_register(int number, uint16_t value);

    uint8_t get_ppage() const { return bus_.get_ppage(); }
    void set_ppage(uint8_t page) {
        bus_.set_ppage(page);
        sync_layout();
    }

    // Stack: SP wraps at 16 bits; a word stands high byte first. Failed
    // reads give 0.
    void push_byte(uint8_t value) {
        --regs.sp;
        write_byte(regs.sp, value);
    }
    void push_word(uint16_t value) {
        push_byte(uint8_t(value));
        push_byte(uint8_t(value >> 8));
    }
    uint8_t pull_byte() {
        const uint8_t value = read_byte(regs.sp);
        ++regs.sp;
        return value;
    }
    uint16_t pull_word() {
        const uint8_t high = pull_byte();
        return uint16_t(high << 8 | pull_byte());
    }

    // A direct operand or stack read: a byte nothing answers for reads as 0.
    // Reads and writes see the memory layout as the CPU last looked at it:
    // at the start of every step and interrupt entry, and after each of its
    // own writes that did not go to plain RAM.
    [[gnu::always_inline]] uint8_t read_byte(uint32_t address) {
        uint8_t value;
        if (read_direct(address, value)) [[likely]]
            return value;
        return read_byte_slow(address);
    }
    // The same through the bus, out of line: the common case keeps no byte
    // in memory for the bus to write.
    [[gnu::noinline]] uint8_t read_byte_slow(uint32_t address);
    [[gnu::always_inline]] uint16_t read_word(uint32_t address) {
        return uint16_t(read_byte(address) << 8 | read_byte(address + 1));
    }
    [[gnu::always_inline]] void write_byte(uint32_t address, uint8_t value) {
        if (address <= 0xFFFF) {
            uint8_t* block = write_blocks_[address >> MemoryBus::kDirectBlockBits];
            if (!block) [[unlikely]]
                block = ask_write_block(address >> MemoryBus::kDirectBlockBits);
            if (block) {
                block[address & kDirectOffsetMask] = value;
                return;
            }
        }
        // A register write may move the register block or switch the
        // program page: the blocks are asked again where needed.
        bus_.mem_write_byte(address, value);
        sync_layout();
    }

    // Where traced steps send their text; with tracing off nothing is sent.
    TraceSink trace_out;
    // The on-chip modules and run control as interrupt entry and RTI see
    // them; null for none (no breakpoint match, no on-chip vector).
    InterruptHost* interrupt_host = nullptr;
    // Told of every undefined instruction executed, with its address: a
    // page-2 opcode without an instruction, after which the CPU takes the
    // TRAP (trapped), or a transfer postbyte that names no register pair,
    // where the CPU stays without moving on. Only steps that execute count.
    UndefinedSink undefined_out;

    // Executes (execute), disassembles (trace) or only measures one
    // instruction at start_address. Returns its length in bytes, or 1 for an
    // undefined encoding, in which case cycles and pc_written are left as
    // they were and PC stays at the instruction.
    uint32_t cpu_step(uint32_t start_address, bool execute, bool trace, uint32_t& cycles,
                      uint32_t& pc_written);
    uint32_t cpu_step(uint32_t start_address, bool execute, bool trace) {
        uint32_t cycles = 0, pc_written = 0;
        return cpu_step(start_address, execute, trace, cycles, pc_written);
    }

    // The run loop's step: executes the instruction at the current execution
    // address without trace, as cpu_step does. When its opcode lies in plain
    // storage and is one of the stop opcodes, nothing is executed and the
    // result is 0 (cycles and pc_written untouched).
    uint32_t execute_next(uint32_t& cycles, uint32_t& pc_written);
    // A stretch of the run loop's plain steps, each as execute_next: runs
    // until max_steps have run, the clock is due after a step (its cycles
    // are added to it step by step), a step leaves the CPU waiting (WAI,
    // STOP), a stop opcode comes next, or, from the second step on, the
    // next PC is one that stop_at flags (null for none).
    struct Stretch {
        uint64_t steps = 0;
        uint32_t cycles = 0;
        uint32_t bytes = 0;
    };
    Stretch execute_stretch(uint64_t max_steps, RunClock& clock,
                            const std::bitset<0x10000>* stop_at);
    // The opcodes execute_next stops at; empty for none.
    void set_stop_opcodes(std::span<const uint8_t> opcodes);

    // The next instruction byte. An address nothing answers at reads $FF and
    // neither advances the fetch address nor charges a cycle.
    // Most fetches read the block the step's opcode came from, which stays
    // mapped at the same place while the layout is unchanged.
    [[gnu::always_inline]] uint8_t fetch_byte() {
        const uint32_t offset = ctx.fetch_address - fetch_base_;
        if (offset < fetch_span_) [[likely]] {
            ++ctx.fetch_address;
            ++ctx.cycles;
            return fetch_block_[offset];
        }
        return fetch_byte_slow();
    }
    [[gnu::noinline, gnu::cold]] uint8_t fetch_byte_slow();
    // The same for a byte that costs no cycle: a failed fetch still takes
    // one back, as fetching and then giving the byte's cycle back does.
    [[gnu::always_inline]] uint8_t fetch_free_byte() {
        const uint32_t offset = ctx.fetch_address - fetch_base_;
        if (offset < fetch_span_) [[likely]] {
            ++ctx.fetch_address;
            return fetch_block_[offset];
        }
        const uint8_t byte = fetch_byte_slow();
        take_back(1);
        return byte;
    }

    // What an instruction does with its operand: reads it, writes it, takes
    // only its address (LEA, JMP, JSR, CALL, the bit instructions), or reads
    // it without moving an auto-increment register (the read half of a
    // read-modify-write, whose write half moves it).
    enum class OperandAccess : uint8_t { Read, Write, Address, ReadInPlace };
    // Fetches and prints the operand of the given mode, then reads it,
    // writes value to it, or gives its address, as access says.
    // Returns 0 when not executing; 1 at once for a mode outside 1..4.
    template <bool kPlain = false>
    uint32_t decode_operand(bool execute, OperandAccess access, uint16_t value, bool is_word,
                            AddrMode mode);
    // The final byte or word transfer at a 16-bit effective address; the
    // second byte of a word is at address + 1 without wrapping.
    [[gnu::always_inline]] uint16_t mem_access(bool is_read, bool is_word, uint16_t value,
                                               uint32_t address) {
        if (is_read) return is_word ? read_word(address) : read_byte(address);
        if (is_word) {
            write_byte(address, uint8_t(value >> 8));
            write_byte(address + 1, uint8_t(value));
        } else {
            write_byte(address, uint8_t(value));
        }
        return 0;
    }
    // Fetches and prints an 8-bit (or, when is_long, 16-bit) relative offset
    // and returns the target: the following instruction plus the offset.
    template <bool kPlain>
    uint16_t branch_target(bool is_long);

    // Offers an interrupt request between instructions. Returns whether the
    // CPU entered the handler; a masked request changes nothing. The entry's
    // cycles are left in ctx.cycles: classic, 5 for leaving WAI or STOP and
    // none otherwise; CPU12, the manual's counts.
    bool cpu_interrupt(InterruptSource source);
    // Pushes the 9-byte exception frame: return address (PC), Y, X, A, B, CCR.
    void stack_all();

private:
    // The tables of one entry point per opcode (entry_points.h), one set per
    // cycle model: the model is chosen by choosing the set, so that no step
    // tests it.
    struct EntryPoints;
    // The step of cpu_step through the given entry points; the caller has
    // brought the memory layout up to date. With kStops (the run loop's
    // steps, which execute), an opcode from plain storage that is a stop
    // opcode ends it before anything is done (result 0, cycles and
    // pc_written untouched).
    template <bool kStops>
    uint32_t step(const EntryPoints& entries, uint32_t start_address, bool execute, bool trace,
                  uint32_t& cycles, uint32_t& pc_written);
    // The run loop's step (execute_next) and its stretches under one model.
    template <CycleModel kModel>
    uint32_t run_step(uint32_t& cycles, uint32_t& pc_written);
    template <CycleModel kModel>
    Stretch run_stretch(uint64_t max_steps, RunClock& clock, const std::bitset<0x10000>* stop_at);
    // cpu_step for all that its inline common case does not take.
    [[gnu::noinline]] uint32_t cpu_step_slow(uint32_t start_address, bool execute, bool trace,
                                             uint32_t& cycles, uint32_t& pc_written);
    template <bool kPlain>
    void dispatch(const OpcodeEntry& e, bool execute);
    // The handler of one opcode with its row's values as constants
    // (entry_points.h), and the tables of them by code.
    // Each executes its opcode; with kFinish it also finishes the step
    // (finish_step) and gives the step's result, else the caller finishes it.
    // With kPlain it executes without trace whatever it is given. Under
    // the CPU12 model it replaces the step's classic count by the CPU12 one.
    template <bool kPage2, uint8_t kCode, bool kFinish, bool kPlain, CycleModel kModel>
    static std::conditional_t<kFinish, uint32_t, void> execute_row(Cpu& cpu, bool execute);
    using RowTable = std::array<uint32_t (*)(Cpu&, bool), 256>;
    using BodyTable = std::array<void (*)(Cpu&, bool), 256>;
    // The end of a step: the result of an undefined encoding (opcode is the
    // first byte), or PC moved past the instruction unless it transferred
    // control, and cycles and pc_written handed out. Without
    // may_be_undefined the encoding is known to be defined.
    uint32_t finish_step(uint8_t opcode, bool execute, bool may_be_undefined, uint32_t& cycles,
                         uint32_t& pc_written);
    // The start of a step at start_address: the context's per-step fields
    // set (the others are set by the handlers that use them, before use).
    void begin_step(uint32_t start_address, bool trace);
    // The same for an opcode read from a block; the operand fetches that
    // follow go through that block.
    void begin_step_in_block(uint32_t start_address, const uint8_t* opcode_block, bool trace);
    template <bool kPage2, bool kFinish, bool kPlain, CycleModel kModel, size_t... kCodes>
    static constexpr auto row_table(std::index_sequence<kCodes...>);
    template <CycleModel kModel>
    static constexpr EntryPoints entry_points();
    static const EntryPoints kClassicEntries;
    static const EntryPoints kCpu12Entries;
    static constexpr uint8_t kPage2Prefix = 0x18; // its row is Family::Page2

    // Trace text; all of these do nothing while the step does not trace,
    // and cost no more than that test then. The handlers and the operand
    // decoder are made twice, as is everything here: once for any step
    // and once plain (kPlain), for steps that execute without trace, where
    // no trace is sent and nothing is tested.
    template <bool kPlain = false>
    void trace(const char* text) {
        if (!kPlain && ctx.trace) [[unlikely]]
            send_trace(text);
    }
    template <bool kPlain = false, typename... Args>
    void tracef(const char* format, Args... args) {
        if (!kPlain && ctx.trace) [[unlikely]]
            send_tracef(format, args...);
    }
    // The mnemonic in its 6-character field, for instructions with operands.
    template <bool kPlain = false>
    void trace_mnemonic(const char* mnemonic) {
        tracef<kPlain>("%-6s", mnemonic);
    }
    void send_trace(std::string_view text);
    void send_tracef(const char* format, ...) __attribute__((format(printf, 2, 3)));

    // Registers by the transfer numbering, CCR included.
    [[gnu::always_inline]] uint16_t reg_value(Reg r) const {
        switch (r) {
        case Reg::A: return regs.a;
        case Reg::B: return regs.b;
        case Reg::CCR: return regs.ccr;
        case Reg::D: return regs.d();
        case Reg::X: return regs.x;
        case Reg::Y: return regs.y;
        case Reg::SP: return regs.sp;
        case Reg::None: break;
        }
        return 0;
    }
    [[gnu::always_inline]] void set_reg(Reg r, uint16_t value) {
        switch (r) {
        case Reg::A: regs.a = uint8_t(value); break;
        case Reg::B: regs.b = uint8_t(value); break;
        case Reg::CCR: regs.ccr = uint8_t(value); break;
        case Reg::D: regs.set_d(value); break;
        case Reg::X: regs.x = value; break;
        case Reg::Y: regs.y = value; break;
        case Reg::SP: regs.sp = value; break;
        case Reg::None: break;
        }
    }
    // N and Z from an 8- or 16-bit value, V cleared, C kept.
    [[gnu::always_inline]] void set_nz_clear_v(uint16_t value, bool wide) {
        uint8_t f = 0;
        if (wide ? value == 0 : uint8_t(value) == 0) f |= ccr_bits::Z;
        if (value & (wide ? 0x8000 : 0x80)) f |= ccr_bits::N;
        regs.ccr = uint8_t((regs.ccr & ~(ccr_bits::N | ccr_bits::Z | ccr_bits::V)) | f);
    }
    // Handlers' cycle adjustments never take the count below zero.
    void take_back(uint32_t n) { ctx.cycles = ctx.cycles > n ? ctx.cycles - n : 0; }

    // The read half and the write-back half of a read-modify-write operand.
    struct RmwMark {
        uint32_t fetch_address;
        uint32_t cycles;
    };
    template <bool kPlain>
    uint16_t rmw_read(bool execute, AddrMode mode, bool wide, RmwMark& mark);
    template <bool kPlain>
    void rmw_write(const RmwMark& mark, AddrMode mode, bool wide, uint16_t value, uint32_t extra);
    uint8_t unary(UnaryOp op, uint8_t value);
    // The effective address of an indexed operand, its register moved
    // (unless read in place) and its cycles counted; not meaningful when
    // not executing.
    template <bool kPlain>
    uint16_t indexed_address(bool execute, OperandAccess access);
    uint16_t indexed_address_of(uint8_t pb, bool execute, OperandAccess access);
    [[gnu::always_inline]] uint32_t finish_operand(uint32_t address, OperandAccess access,
                                                   uint16_t value, bool is_word) {
        if (access == OperandAccess::Address) return address;
        return mem_access(access != OperandAccess::Write, is_word, value, address);
    }
    void jump(uint16_t target) {
        regs.pc = target;
        ++ctx.pc_written;
    }

    // Handlers, one per family (handlers_*.h inline, handlers_*.cpp,
    // interrupts.cpp).
    template <bool kPlain>
    void op_load(const OpcodeEntry& e, bool execute);
    template <bool kPlain>
    void op_store(const OpcodeEntry& e, bool execute);
    template <bool kPlain>
    void op_lea(const OpcodeEntry& e, bool execute);
    template <bool kPlain>
    void op_incdec16(const OpcodeEntry& e, bool execute);
    template <bool kPlain>
    void op_tab_tba(const OpcodeEntry& e, bool execute);
    template <bool kPlain>
    void op_move(const OpcodeEntry& e, bool execute);
    template <bool kPlain>
    void op_push(const OpcodeEntry& e, bool execute);
    template <bool kPlain>
    void op_pull(const OpcodeEntry& e, bool execute);
    void op_transfer(const OpcodeEntry& e, bool execute);
    template <bool kPlain>
    void op_alu8(const OpcodeEntry& e, bool execute);
    template <bool kPlain>
    void op_alu16(const OpcodeEntry& e, bool execute);
    template <bool kPlain>
    void op_unary(const OpcodeEntry& e, bool execute);
    template <bool kPlain>
    void op_unary_mem(const OpcodeEntry& e, bool execute);
    template <bool kPlain>
    void op_accumulators(const OpcodeEntry& e, bool execute);
    template <bool kPlain>
    void op_shift_d(const OpcodeEntry& e, bool execute);
    template <bool kPlain>
    void op_ccr_logic(const OpcodeEntry& e, bool execute);
    template <bool kPlain>
    void op_daa(const OpcodeEntry& e, bool execute);
    template <bool kPlain>
    void op_min_max(const OpcodeEntry& e, bool execute);
    void op_multiply(const OpcodeEntry& e, bool execute);
    void op_divide(const OpcodeEntry& e, bool execute);
    template <bool kPlain>
    void op_branch(const OpcodeEntry& e, bool execute);
    template <bool kPlain>
    void op_subroutine(const OpcodeEntry& e, bool execute);
    template <bool kPlain>
    void op_call_rtc(const OpcodeEntry& e, bool execute);
    template <bool kPlain>
    void op_loop(const OpcodeEntry& e, bool execute);
    template <bool kPlain>
    void op_bits(const OpcodeEntry& e, bool execute);
    void op_exception(const OpcodeEntry& e, bool execute);
    void op_not_modelled(const OpcodeEntry& e, bool execute);

    static constexpr uint32_t kDirectOffsetMask = (1u << MemoryBus::kDirectBlockBits) - 1;

    // The bus's fast read path: a byte from a block of plain storage the bus
    // handed out, or false when the address has none.
    [[gnu::always_inline]] bool read_direct(uint32_t address, uint8_t& byte) {
        if (!window_address(address)) return false;
        const uint8_t* block = blocks_[address >> MemoryBus::kDirectBlockBits];
        if (!block) [[unlikely]] {
            block = ask_block(address >> MemoryBus::kDirectBlockBits);
            if (!block) return false;
        }
        byte = block[address & kDirectOffsetMask];
        return true;
    }
    // A paged address of the current page reads through its window address;
    // false for a paged address of another page, which has no block.
    [[gnu::always_inline]] bool window_address(uint32_t& address) const {
        if (address <= 0xFFFF) return true;
        if ((address >> 16) != blocks_ppage_ || (address & 0xC000) != 0x8000) return false;
        address &= 0xFFFF;
        return true;
    }
    // Drops the blocks when the bus's layout counter moved since they were
    // asked for. A bus without a counter never hands out blocks.
    void sync_layout() {
        if (layout_generation_ && *layout_generation_ != blocks_generation_) forget_blocks();
    }
    void forget_blocks();
    // The program page; while the fast path's blocks are current, the page
    // they were taken with (the layout counter changes with the page).
    uint8_t current_ppage() const {
        if (layout_generation_ && *layout_generation_ == blocks_generation_)
            return uint8_t(blocks_ppage_);
        return bus_.get_ppage();
    }
    static uint32_t execution_address(uint8_t page, uint16_t pc) {
        if (page >= 0x30 && pc >= 0x8000 && pc <= 0xBFFF) return uint32_t(page) << 16 | pc;
        return pc;
    }
    // The slow half of the direct paths: asks the bus once per layout for a
    // block and keeps it; null when the bus has none there.
    const uint8_t* ask_block(uint32_t block);
    uint8_t* ask_write_block(uint32_t block);

    MemoryBus& bus_;
    const uint32_t* layout_generation_;
    // Wider than the counter, so that no counter value matches before the
    // first read has asked the bus.
    uint64_t blocks_generation_ = ~uint64_t(0);
    uint32_t blocks_ppage_ = 0;
    // Null: not asked yet, or the bus has no plain storage there (marked in
    // no_block_, so that it is asked only once per layout). Without a layout
    // counter every block stays null and is marked.
    std::array<const uint8_t*, MemoryBus::kDirectBlocks> blocks_{};
    std::array<bool, MemoryBus::kDirectBlocks> no_block_{};
    // The same for plain RAM stores.
    std::array<uint8_t*, MemoryBus::kDirectBlocks> write_blocks_{};
    std::array<bool, MemoryBus::kDirectBlocks> no_write_block_{};
    // execute_next stops before these opcodes (indexed by opcode).
    std::array<bool, 256> stop_opcodes_{};
    // The step's start address (its low 16 bits are the base of the 5-bit
    // and 9-bit PC-relative indexed forms) and where its cycles and
    // pc_written go (valid during the step only).
    uint32_t step_address_ = 0;
    uint32_t* step_cycles_ = nullptr;
    uint32_t* step_pc_written_ = nullptr;
    // The block of the last opcode cpu_step took in its common case, and the
    // (possibly paged) address of its first byte; fetch_span_ is the block's
    // size while it is current, 0 once the blocks are dropped.
    const uint8_t* fetch_block_ = nullptr;
    uint32_t fetch_base_ = 0;
    uint32_t fetch_span_ = 0;
    // Second byte of a page-2 instruction (the TRAP number).
    uint8_t page2_code_ = 0;
    CycleModel cycle_model_ = CycleModel::Classic;
    // The entry points of cpu_step's steps: those of cycle_model_.
    const EntryPoints* entries_;
};

} // namespace torva
