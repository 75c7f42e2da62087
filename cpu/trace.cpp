// Formatting of the disassembly pieces a traced step sends to its sink.
#include "cpu/cpu.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>

namespace torva {

void Cpu::send_trace(std::string_view text) {
    if (trace_out) trace_out(text);
}

void Cpu::send_tracef(const char* format, ...) {
    if (!trace_out) return;
    char text[64];
    va_list args;
    va_start(args, format);
    const int n = std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    if (n < 0) return;
    trace_out(std::string_view(text, std::min<size_t>(size_t(n), sizeof text - 1)));
}

} // namespace torva
