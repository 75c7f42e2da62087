// The register fields without the window: number formatting per base and
// width, the parsing "Apply" does, and which register each field shows.
#pragma once

#include "cpu/cpu.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace torva {

struct DebugMap;

// Base 16 with width 8, 16, 32 or 64: that many hex digits (upper case);
// base 10: signed decimal; base 2 with width 3, 8, 16 or 32: that many
// binary digits, most significant first; anything else: "".
std::string format_number(int base, int width, uint64_t value);
// Base 2 accepts only 0 and 1, base 10 only digits, base 16 hexadecimal
// digits of either case; an empty text is 0. None for anything else, or
// for a value wider than 64 bits.
std::optional<uint64_t> parse_number(int base, std::string_view text);

// The fields in the window's order: A and B (together D), X, Y, PC, SP, CCR.
inline constexpr std::array<int, 7> kRegisterFields = {kRegA,  kRegB,  kRegX,  kRegY,
                                                       kRegPc, kRegSp, kRegCcr};

// A register's field text.
std::string register_text(const Cpu& cpu, int number);
// "Apply": sets each register whose field text parses in its base or, with
// a debug map, names one of its symbols (letter case as defined), cut to its
// width; the others stay. texts follow kRegisterFields.
void apply_register_fields(Cpu& cpu, const std::array<std::string, kRegisterFields.size()>& texts,
                           const DebugMap* map = nullptr);

} // namespace torva
