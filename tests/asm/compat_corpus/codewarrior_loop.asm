; CodeWarrior style with habits of other assemblers: indented labels with a
; colon, a semicolon right after the operand, accumulator-letter mnemonics
; and a plus sign before a stack offset.
            INCLUDE 'derivative.inc'

            ORG   $1000
Sum:        DS.W  1

            ORG   $1100
main:
            LDS   #$3C80
            MOVW  #0, Sum;
            LDB   #10
   loop:    CLRA;               add 10+9+...+1
            ADDD  Sum
            STD   Sum
            LDAA  Sum+1
            STA   PORTB
            DBNE  B, loop
            LEAS  -2, SP
            LEAS  +2, SP
            SWI
