// Small programs that echo what serial interface 0 receives, by polling,
// and stop with SWI once their input has gone through: runs that end by
// themselves, for tests of the serial paths into and out of the board.
#pragma once

#include <string>

namespace torva::test {

// Echoes up to and including a '.', then waits until the last character has
// left.
inline constexpr const char* kEchoUntilDot = R"(        org $1000
wait    brclr $cc,#$20,wait
        ldab $cf
tx      brclr $cc,#$80,tx
        stab $cf
        cmpb #$2E
        bne wait
done    brclr $cc,#$40,done
        swi
)";

// Echoes exactly 256 bytes, whatever their values, then waits until the
// last one has left.
inline constexpr const char* kEcho256 = R"(        org $1000
        ldx #256
wait    brclr $cc,#$20,wait
        ldab $cf
tx      brclr $cc,#$80,tx
        stab $cf
        dbne x,wait
done    brclr $cc,#$40,done
        swi
)";

// Every byte value once, $00 to $FF in order.
inline std::string every_byte_value() {
    std::string bytes;
    for (int value = 0; value < 256; ++value)
        bytes += char(value);
    return bytes;
}

} // namespace torva::test
