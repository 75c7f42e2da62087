; Textbook style: a real-time interrupt handler installed in the monitor's
; vector slot by name, and the ticks counted.
#include "hcs12.inc"

        org     $1000
ticks   ds.b    1

        org     $1500
start   lds     #$1500
        sei
        clr     ticks
        ldx     #rti_isr
        stx     UserRTI         ; the handler's address into the slot
        movb    #$10, RTICTL    ; the slowest rate but one
        bset    CRGINT, #$80    ; RTIE
        cli
wait    ldaa    ticks
        cmpa    #3
        blo     wait
        clr     RTICTL
        sei
        ldd     #msg
        jsr     [printf,pcr]
        swi
rti_isr movb    #$80, CRGFLG    ; clear the flag (RTIF)
        inc     ticks
        rti
msg     dc.b    "three ticks", $0D, $0A, 0
        end
