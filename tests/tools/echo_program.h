// A program that echoes what serial interface 0 receives, by polling, up to
// and including a '.', then waits until the last character has left and
// stops with SWI: a run that ends by itself once its input has gone through.
#pragma once

namespace torva::test {

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

} // namespace torva::test
