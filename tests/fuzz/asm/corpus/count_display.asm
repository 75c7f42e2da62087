; count_display.asm - count from 0000 upwards on the display at $C02.
;
; Connect a QX5/QX3 display at $C02 (control) and $C03 (data). The count is
; kept as a 16-bit binary number and shown as four hexadecimal digits at
; the left of the display, rewritten after every step.

DCTRL    EQU   $C02          ; bit 7 clears, bits 2-0 set the position
DDATA    EQU   $C03          ; writes one digit, then moves right
CLEAR    EQU   $80

         ORG   $1000
START    LDS   #$3C80
         LDD   #0
         STD   COUNT
SHOW     LDAA  #CLEAR        ; clear, position 0
         STAA  DCTRL
         LDAA  COUNT         ; high byte: digits 0 and 1
         BSR   BYTE
         LDAA  COUNT+1       ; low byte: digits 2 and 3
         BSR   BYTE
         LDY   #$4000        ; a pause between steps
PAUSE    DBNE  Y,PAUSE
         LDD   COUNT
         ADDD  #1
         STD   COUNT
         BRA   SHOW

; BYTE: show A as two hexadecimal digits, high digit first.
BYTE     PSHA
         LSRA                ; the high nibble
         LSRA
         LSRA
         LSRA
         STAA  DDATA
         PULA
         ANDA  #$0F          ; the low nibble
         STAA  DDATA
         RTS

COUNT    DS.W  1             ; the count

         END
