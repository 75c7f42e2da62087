 OPTION COMPAT
#include "C:\68HCS12\f.inc"
        ABSENTRY Entry
        org   0
PortA   rmb   1
        org   $1000
Entry:  movb  #$FF, PortA
   loop:  ldaa  count ;load
        lda   #'A'
        ldb   #+7
        leas  -7, SP
        jsr   [putchar, pcr]
        bra   LOOP
count   dc.b  "Hi",13, 10, 0
        DC.B  'RUN ',0
msg     FCC   /a b;c/
        db    1, 2
        dw    $1234
        rmw   1
putchar equ   $EE86
