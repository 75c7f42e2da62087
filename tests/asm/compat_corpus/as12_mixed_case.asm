* as12 style: the textbook register header, names written in any case,
* FCC strings and RMB storage.
        #include "reg9s12.h"

        org     $1000
Buffer  rmb     16
Len     rmb     1

        org     $1100
Main    lds     #$3C80
        ldx     #Greeting
        ldy     #BUFFER         ; the name Buffer, written in capitals
Copy    ldaa    1,x+
        staa    1,y+
        bne     copy            ; the label Copy
        ldd     #buffer
        jsr     [Printf,pcr]
        ldd     #buffer
        jsr     [STRLEN,pcr]
        stab    len
        swi
Greeting fcc    "as12 says hi"
        fcb     $0d,$0a,0
        end
