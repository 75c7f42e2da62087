; blink_correct.asm - a solution of the lab blink.toml: the even LEDs for
; 10 ms, then the odd ones for 10 ms, and so on.
;
; At the board's 8 MHz bus clock 10 ms are 80000 cycles. One pass of the
; delay loop takes 6 cycles and the rest of a period 20, so the loop makes
; (80000 - 20) / 6 = 13330 passes.

OUTPORT  EQU   $400          ; LEDs: bit n lights LED n
PASSES   EQU   13330         ; passes of the delay loop for 10 ms

         ORG   $1000
START    LDS   #$3C80        ; stack below the monitor's RAM
         LDAA  #%01010101    ; even LEDs first
BLINK    STAA  OUTPORT
         BSR   WAIT
         COMA                ; swap even and odd LEDs
         BRA   BLINK

; WAIT: the rest of 10 ms. Keeps A.
WAIT     LDY   #PASSES
WLOOP    DBNE  Y,WLOOP
         NOP                 ; two cycles to make the period exact
         NOP
         RTS

         END
