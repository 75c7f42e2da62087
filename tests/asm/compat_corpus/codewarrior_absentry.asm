;*****************************************************************
;* An absolute assembly program in the style of a CodeWarrior     *
;* project: derivative file, ABSENTRY, Entry label with a colon.  *
;*****************************************************************
            XDEF Entry, _Startup
            ABSENTRY Entry

            INCLUDE 'derivative.inc'

ROMStart    EQU  $2000
; variable/data section
            ORG  $1000
Counter     DS.B 1
Table       DC.B 1, 2, 3, 4, 5, 6, 7, 8
TableEnd:

; code section
            ORG   ROMStart
Entry:
_Startup:
            LDS   #$3C80
            CLR   Counter
            LDX   #Table
            CLRA
mainLoop:   ADDA  1,X+          ; sum of the table
            INC   Counter
            CPX   #TableEnd
            BNE   mainLoop
            STAA  PORTB
            SWI
