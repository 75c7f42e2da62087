// The mixed loop both CPU benchmarks run from RAM: loads, stores, ALU,
// indexed with auto-increment, immediate, extended, taken and not-taken
// branches, a loop primitive and a subroutine with a push and a pull.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

namespace torva::bench {

inline const std::vector<std::pair<uint16_t, std::vector<uint8_t>>> kMixedLoop = {
    {0x1000,
     {
         0xCE, 0x20, 0x00, // $1000 LDX  #$2000
         0xCD, 0x21, 0x00, // $1003 LDY  #$2100
         0xC6, 0x10,       // $1006 LDAB #$10
         0xA6, 0x30,       // $1008 LDAA 1,X+
         0x8B, 0x03,       // $100A ADDA #$03
         0x6A, 0x70,       // $100C STAA 1,Y+
         0x81, 0x80,       // $100E CMPA #$80
         0x25, 0x02,       // $1010 BCS  $1014
         0x84, 0x7F,       // $1012 ANDA #$7F
         0x16, 0x10, 0x30, // $1014 JSR  $1030
         0x04, 0x31, 0xEE, // $1017 DBNE B,$1008
         0x20, 0xE4,       // $101A BRA  $1000
     }},
    {0x1030,
     {
         0x36,             // $1030 PSHA
         0xB6, 0x20, 0x00, // $1031 LDAA $2000
         0xA8, 0x40,       // $1034 EORA 0,Y
         0x7A, 0x24, 0x00, // $1036 STAA $2400
         0x32,             // $1039 PULA
         0x3D,             // $103A RTS
     }},
};

// Entry point of the loop and the data it walks through: a ramp at $2000,
// so that some sums pass $80 and some do not.
constexpr uint16_t kMixedLoopStart = 0x1000;
constexpr uint16_t kMixedLoopData = 0x2000;
inline uint8_t mixed_loop_data(uint32_t i) {
    return uint8_t(i * 23);
}

} // namespace torva::bench
