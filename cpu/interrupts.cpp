// Exceptions: SWI, TRAP, RTI, WAI, STOP, and hardware interrupt entry with
// its masking, vector choice and 9-byte stack frame.
#include "cpu/cpu.h"
#include "cpu/cpu12_cycles.h"

namespace torva {

using namespace ccr_bits;

namespace {
constexpr uint16_t kVectorTrap = 0xFFF8;
constexpr uint16_t kVectorSwi = 0xFFF6;
constexpr uint16_t kVectorXirq = 0xFFF4;
constexpr uint16_t kVectorIrq = 0xFFF2;
} // namespace

void Cpu::stack_all() {
    push_word(regs.pc);
    push_word(regs.y);
    push_word(regs.x);
    push_byte(regs.a);
    push_byte(regs.b);
    push_byte(regs.ccr);
}

void Cpu::op_exception(const OpcodeEntry& e, bool execute) {
    if (e.family == Family::Trap)
        tracef("TRAP  $%2.2X", page2_code_);
    else
        trace(e.mnemonic);
    if (!execute) return;
    switch (e.family) {
    case Family::Swi:
        regs.pc = uint16_t(regs.pc + 1);
        stack_all();
        jump(read_word(kVectorSwi));
        regs.ccr |= X | I;
        ctx.cycles += 8;
        break;
    case Family::Trap:
        if (undefined_out) undefined_out(step_address_, true);
        // The trap number is not kept: a handler finds it behind the
        // stacked return address.
        regs.pc = uint16_t(regs.pc + 2);
        stack_all();
        regs.ccr |= I;
        jump(read_word(kVectorTrap));
        ctx.cycles += 8;
        break;
    case Family::Rti:
        regs.ccr = pull_byte();
        regs.b = pull_byte();
        regs.a = pull_byte();
        regs.x = pull_word();
        regs.y = pull_word();
        jump(pull_word());
        if (interrupt_host) interrupt_host->service_ended(irq_in_service);
        irq_in_service = InterruptSource::kNone;
        ctx.cycles += 7;
        break;
    case Family::Wai:
        regs.pc = uint16_t(regs.pc + 1);
        stack_all();
        ctx.cycles += 7;
        cpu_waiting = true;
        break;
    default: // STOP acts only while S is clear
        if (regs.ccr & S) break;
        regs.pc = uint16_t(regs.pc + 2);
        stack_all();
        ctx.cycles += 7;
        cpu_waiting = true;
        break;
    }
}

bool Cpu::cpu_interrupt(InterruptSource source) {
    sync_layout();
    ctx.cycles = 0;
    if (interrupt_host && interrupt_host->breakpoint_match(regs.pc, get_ppage())) {
        // The breakpoint module's match acts as an SWI fetched at PC.
        ctx.trace = 0;
        ctx.pc_written = 0;
        op_exception(kPage1Map[0x3F], true);
        if (cycle_model_ == CycleModel::Cpu12) ctx.cycles = kCpu12InterruptEntry;
        return true;
    }
    const bool xirq = source == InterruptSource::kXirq;
    if (xirq ? (regs.ccr & X) != 0 : !is_unmaskable(source) && (regs.ccr & I) != 0) return false;
    const bool cpu12 = cycle_model_ == CycleModel::Cpu12;
    if (cpu_waiting) {
        // WAI or STOP has already stacked the frame.
        cpu_waiting = false;
        ctx.cycles += cpu12 ? kCpu12WaitExit : 5;
    } else {
        stack_all();
        // The classic model charges nothing for the entry itself.
        if (cpu12) ctx.cycles += kCpu12InterruptEntry;
    }
    regs.ccr |= xirq ? (X | I) : I;
    uint16_t vector = kVectorIrq;
    if (xirq)
        vector = kVectorXirq;
    else if (uint8_t(source) <= uint8_t(InterruptSource::kIrq) && interrupt_host)
        if (const uint16_t onchip = interrupt_host->onchip_vector()) vector = onchip;
    regs.pc = read_word(vector);
    irq_in_service = source;
    return true;
}

} // namespace torva
