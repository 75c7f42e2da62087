; MiniIDE style: the include named with the directory of the machine it
; was written on, a line read with getcmdline and scanned with sscanhex.
#include "c:\miniide\hcs12.inc"

        org     $1000
line    ds.b    20
number  ds.w    1

        org     $1500
start   lds     #$1500
        ldd     #prompt
        jsr     [printf,pcr]
        ldd     #20             ; getcmdline(line, 20)
        pshd
        ldd     #line
        call    [getcmdline,pcr]
        leas    2,sp
        ldd     #number         ; sscanhex(line, &number)
        pshd
        ldd     #line
        call    [sscanhex,pcr]
        leas    2,sp
        ldd     number          ; printf("\r\n%u\r\n", number)
        pshd
        ldd     #result
        jsr     [printf,pcr]
        leas    2,sp
        swi
prompt  dc.b    "hex? ", 0
result  dc.b    $0D, $0A, "%u", $0D, $0A, 0
        end
