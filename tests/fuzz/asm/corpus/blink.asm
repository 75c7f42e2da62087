; blink.asm - blink the LEDs of the output port at $400.
;
; Connect an Outport (LEDs) at $400. The program lights the even LEDs,
; waits, lights the odd ones, waits, and so on forever. The delay loop
; counts a 16-bit register down so that the blinking can be seen.

OUTPORT  EQU   $400          ; LEDs: bit n lights LED n
DELAY    EQU   $8000         ; passes of the delay loop

         ORG   $1000
START    LDS   #$3C80        ; stack below the monitor's RAM
         LDAA  #%01010101    ; even LEDs first
BLINK    STAA  OUTPORT
         BSR   WAIT
         COMA                ; swap even and odd LEDs
         BRA   BLINK

; WAIT: count Y down from DELAY to zero. Keeps A.
WAIT     LDY   #DELAY
WLOOP    DBNE  Y,WLOOP
         RTS

         END
