; Textbook style: the register file of the textbook, and the monitor's
; printf and putchar through its routine table.
#include "hcs12.inc"
CR      equ     $0D
LF      equ     $0A

        org     $1000
value   dc.w    -1234
count   ds.b    1

        org     $1500
start   lds     #$1500
        ldd     #name           ; printf("%d %x %s\r\n", value, value, name)
        pshd
        ldd     value
        pshd
        pshd
        ldd     #msg
        jsr     [printf,PCR]
        leas    6,sp
        movb    #5, count       ; five stars through putchar
stars   ldab    #'*'
        clra
        jsr     [putchar,PCR]
        dec     count
        bne     stars
        ldd     #done
        jsr     [printf,PCR]
        swi
msg     dc.b    "%d %x %s", CR, LF, 0
name    dc.b    "HCS12", 0
done    dc.b    CR, LF, "done", CR, LF, 0
        end
