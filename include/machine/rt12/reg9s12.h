; reg9s12.h - the register names of HCS12 textbook programs (hcs12.inc)
; under the name as12-style programs include:
;
;            #include "reg9s12.h"

            include "hcs12.inc"
