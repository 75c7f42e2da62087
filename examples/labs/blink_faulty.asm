; blink_faulty.asm - a wrong solution of the lab blink.toml: the delay
; counts the cycles of the loop as 3 instead of 6, so each period lasts
; twice as long, 20 ms.

OUTPORT  EQU   $400          ; LEDs: bit n lights LED n
PASSES   EQU   26660         ; the fault: (80000 - 20) / 3

         ORG   $1000
START    LDS   #$3C80        ; stack below the monitor's RAM
         LDAA  #%01010101    ; even LEDs first
BLINK    STAA  OUTPORT
         BSR   WAIT
         COMA                ; swap even and odd LEDs
         BRA   BLINK

; WAIT: the rest of the period. Keeps A.
WAIT     LDY   #PASSES
WLOOP    DBNE  Y,WLOOP
         NOP
         NOP
         RTS

         END
