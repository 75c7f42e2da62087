; blink.asm - blink the LEDs of the output port at $400, four times a second.
;
; Connect an Outport (LEDs) at $400. The program lights the even LEDs,
; waits 125 ms (1,000,000 cycles of the simulator's count at 8 MHz), lights
; the odd ones, and so on.

OUTPORT  EQU   $400          ; LEDs: bit n lights LED n
PASSES   EQU   5             ; passes of the outer loop
COUNT    EQU   33333         ; DBNE counts 6 cycles: 200,000 cycles a pass

         ORG   $1000
START    LDS   #$3C80        ; stack below the monitor's RAM
         LDAA  #%01010101    ; even LEDs first
BLINK    STAA  OUTPORT
         BSR   WAIT
         COMA                ; swap even and odd LEDs
         BRA   BLINK

; WAIT: PASSES times, count Y down from COUNT to zero. Keeps A.
WAIT     LDX   #PASSES
PASS     LDY   #COUNT
WLOOP    DBNE  Y,WLOOP
         DBNE  X,PASS
         RTS

         END
