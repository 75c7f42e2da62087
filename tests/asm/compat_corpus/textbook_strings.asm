; Textbook style data: strings in byte lists, FCC with any delimiter, DB,
; DW and RMW, printed through the monitor's routines.
#include "hcs12.inc"

        org     $1000
words   dw      $4142, $4344    ; "ABCD"
        db      0
spare   rmw     2

        org     $1500
start   lds     #$1500
        ldd     #first
        jsr     [printf,pcr]
        ldd     #second
        jsr     [printf,pcr]
        ldd     #words
        jsr     [printf,pcr]
        ldd     #crlf
        jsr     [printf,pcr]
        swi
first   dc.b    'RUN ', "fast ", 0
second  fcc     /a;b, c /
        fcb     0
crlf    db      13, 10, 0
        end
