// Register accessors and stack operations of the simulated CPU.
#include "cpu/cpu.h"

namespace torva {

uint32_t Cpu::get_register(int number) const {
    switch (number) {
    case kRegPc: return regs.pc;
    case kRegSp: return regs.sp;
    case kRegCcr: return regs.ccr;
    case kRegA: return regs.a;
    case kRegB: return regs.b;
    case kRegX: return regs.x;
    case kRegY: return regs.y;
    default: return 0;
    }
}

void Cpu::set_register(int number, uint32_t value) {
    switch (number) {
    case kRegPc: regs.pc = uint16_t(value); break;
    case kRegSp: regs.sp = uint16_t(value); break;
    case kRegCcr: regs.ccr = uint8_t(value); break;
    case kRegA: regs.a = uint8_t(value); break;
    case kRegB: regs.b = uint8_t(value); break;
    case kRegX: regs.x = uint16_t(value); break;
    case kRegY: regs.y = uint16_t(value); break;
    default: break;
    }
}

int Cpu::register_width(int number) {
    if (number < kRegPc || number > kRegY) return 100;
    return number == kRegCcr || number == kRegA || number == kRegB ? 8 : 16;
}

int Cpu::register_radix(int number) {
    if (number < kRegPc || number > kRegY) return 0;
    return number == kRegCcr ? 2 : 16;
}

uint16_t Cpu::get_transfer_register(int number) const {
    switch (number) {
    case kXferA: return regs.a;
    case kXferB: return regs.b;
    case kXferD: return regs.d();
    case kXferX: return regs.x;
    case kXferY: return regs.y;
    case kXferSp: return regs.sp;
    default: return 0;
    }
}

void Cpu::set_transfer_register(int number, uint16_t value) {
    switch (number) {
    case kXferA: regs.a = uint8_t(value); break;
    case kXferB: regs.b = uint8_t(value); break;
    case kXferD: regs.set_d(value); break;
    case kXferX: regs.x = value; break;
    case kXferY: regs.y = value; break;
    case kXferSp: regs.sp = value; break;
    default: break;
    }
}

void Cpu::forget_blocks() {
    // Without a layout counter nothing can be kept: every access asks the bus.
    const bool keep = layout_generation_ != nullptr;
    blocks_.fill(nullptr);
    write_blocks_.fill(nullptr);
    no_block_.fill(!keep);
    no_write_block_.fill(!keep);
    if (keep) blocks_generation_ = *layout_generation_;
    blocks_ppage_ = bus_.get_ppage();
    fetch_span_ = 0;
}

uint8_t Cpu::read_byte_slow(uint32_t address) {
    uint8_t value = 0;
    bus_.mem_read_byte(address, value);
    return value;
}

uint8_t Cpu::fetch_byte_slow() {
    uint8_t byte;
    if (!read_direct(ctx.fetch_address, byte) && bus_.mem_read_byte(ctx.fetch_address, byte) != 0)
        return 0xFF;
    ++ctx.fetch_address;
    ++ctx.cycles;
    return byte;
}

const uint8_t* Cpu::ask_block(uint32_t block) {
    if (no_block_[block]) return nullptr;
    const uint8_t* data = bus_.direct_read_block(block);
    if (data)
        blocks_[block] = data;
    else
        no_block_[block] = true;
    return data;
}

uint8_t* Cpu::ask_write_block(uint32_t block) {
    if (no_write_block_[block]) return nullptr;
    uint8_t* data = bus_.direct_write_block(block);
    if (data)
        write_blocks_[block] = data;
    else
        no_write_block_[block] = true;
    return data;
}

void Cpu::set_stop_opcodes(std::span<const uint8_t> opcodes) {
    stop_opcodes_.fill(false);
    for (const uint8_t opcode : opcodes)
        stop_opcodes_[opcode] = true;
}

} // namespace torva
