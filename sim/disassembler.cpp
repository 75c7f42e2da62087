// The panes' disassembler: one non-executing traced step on a private CPU.
#include "sim/disassembler.h"

namespace torva {

Disassembler::Disassembler(MemoryMap& memory) : memory_(memory), bus_(memory), cpu_(bus_) {
    cpu_.trace_out = [this](std::string_view piece) { text_.append(piece); };
}

std::optional<Disassembly> Disassembler::disassemble(uint32_t address) {
    uint8_t first = 0;
    if (memory_.peek_byte(address, first) != 0) return std::nullopt;
    text_.clear();
    Disassembly result;
    result.length = cpu_.cpu_step(address, false, true);
    result.text = text_;
    return result;
}

} // namespace torva
