; switches_correct.asm - a solution of the lab switches.toml: light LED n
; while switch n is on.

OUTPORT  EQU   $400          ; LEDs: bit n lights LED n
INPORT   EQU   $600          ; switches: bit n is switch n

         ORG   $1000
START    LDAA  INPORT        ; the switches as one byte
         STAA  OUTPORT       ; light the matching LEDs
         BRA   START

         END
