; echo_serial_correct.asm - a solution of the lab echo_serial.toml: greet on
; serial interface 0, then send back every character received; a carriage
; return is echoed as carriage return and line feed.

SCISR1   EQU   $CC           ; status 1: bit 7 TDRE, bit 5 RDRF
SCIDRL   EQU   $CF           ; data low: write sends, read receives
TDRE     EQU   $80
RDRF     EQU   $20
CR       EQU   $0D
LF       EQU   $0A

         ORG   $1000
START    LDS   #$3C80
         LDX   #HELLO
         BSR   PUTS
ECHO     BSR   GETCH         ; wait for a character ...
         BSR   PUTCH         ; ... and send it back
         CMPA  #CR
         BNE   ECHO
         LDAA  #LF           ; a new line after the return
         BSR   PUTCH
         BRA   ECHO

; GETCH: wait for a received byte and return it in A.
GETCH    BRCLR SCISR1,RDRF,GETCH
         LDAA  SCIDRL
         RTS

; PUTCH: send A once the transmit register is empty. Keeps A.
PUTCH    BRCLR SCISR1,TDRE,PUTCH
         STAA  SCIDRL
         RTS

; PUTS: send the zero-terminated text at X.
PUTS     LDAA  1,X+
         BEQ   PUTSEND
         BSR   PUTCH
         BRA   PUTS
PUTSEND  RTS

HELLO    FCS   "Hello from the RT12"
         FCB   CR,LF,0

         END
