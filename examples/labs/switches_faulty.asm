; switches_faulty.asm - a wrong solution of the lab switches.toml: it copies
; the switches to the LEDs once and then waits for ever, so the LEDs never
; follow a switch that moves later.

OUTPORT  EQU   $400          ; LEDs: bit n lights LED n
INPORT   EQU   $600          ; switches: bit n is switch n

         ORG   $1000
START    LDAA  INPORT        ; the switches as one byte
         STAA  OUTPORT       ; light the matching LEDs
DONE     BRA   DONE          ; the fault: the copy should go on

         END
