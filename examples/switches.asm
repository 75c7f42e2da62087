; switches.asm - copy the switches to the LEDs.
;
; In Simulator Setup connect an Outport (LEDs) at $400 and an Inport
; (switches) at $600. The program reads the switches over and over and
; lights LED n while switch n is on: flip a switch in its window and
; watch its LED follow.

OUTPORT  EQU   $400          ; LEDs: bit n lights LED n
INPORT   EQU   $600          ; switches: bit n is switch n

         ORG   $1000
START    LDAA  INPORT        ; the switches as one byte
         STAA  OUTPORT       ; light the matching LEDs
         BRA   START

         END
