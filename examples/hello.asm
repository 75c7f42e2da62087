; hello.asm - a first program: say Hello, then copy the switches to the LEDs.
;
; Under the board's monitor ("g 1000" in the terminal) it prints Hello on
; serial interface 0. In the simulator connect an Outport (LEDs) at $400 and
; an Inport (switches) at $600: flip a switch and its LED follows.

SCIBD    EQU   $C8           ; serial interface 0, baud rate divisor
SCICR2   EQU   $CB           ; serial interface 0, control 2: TE and RE
SCISR1   EQU   $CC           ; serial interface 0, status 1: bit 7 TDRE
SCIDRL   EQU   $CF           ; serial interface 0, data: a write sends
TDRE     EQU   $80           ; the transmitter takes the next character
OUTPORT  EQU   $400          ; LEDs: bit n lights LED n
INPORT   EQU   $600          ; switches: bit n is switch n

         ORG   $1000
START    LDS   #$3C80        ; stack below the monitor's RAM
         MOVW  #52,SCIBD     ; 9600 baud from the 8 MHz bus clock
         MOVB  #$0C,SCICR2   ; transmitter and receiver on
         LDX   #HELLO
SEND     LDAB  1,X+          ; the next character; zero ends the text
         BEQ   COPY
WAIT     BRCLR SCISR1,TDRE,WAIT
         STAB  SCIDRL
         BRA   SEND

COPY     LDAA  INPORT        ; the switches as one byte
         STAA  OUTPORT       ; light the matching LEDs
         BRA   COPY

HELLO    FCS   "Hello"
         FCB   13,10,0       ; carriage return, line feed, end of text

         END
