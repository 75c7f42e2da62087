; Evaluation-board style: the monitor's far routines out2hex and out4hex
; called with CALL, toupper and isxdigit with JSR, names from the board
; monitor's routine table written in the table's own spelling.
            INCLUDE 'dbug12.inc'

            ORG   $1000
Entry:      LDS   #$3C80
            LDD   #$1234
            CALL  [out4hex, PCR]
            LDAB  #' '
            JSR   [putchar, PCR]
            LDAB  #$5A
            CALL  [out2hex, PCR]
            LDAB  #' '
            JSR   [putchar, PCR]
            LDX   #Word
Next:       LDAB  1,X+
            BEQ   Done
            CLRA
            JSR   [toupper, PCR]
            JSR   [putchar, PCR]
            BRA   Next
Done:       LDAB  #$0D
            JSR   [putchar, PCR]
            LDAB  #$0A
            JSR   [putchar, PCR]
            SWI
Word:       DC.B  'shout',0
