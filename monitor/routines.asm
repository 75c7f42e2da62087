; routines.asm - the routine table for user programs: one JMP each at the
; addresses rt12.inc names. The addresses stay where they are in every
; version of the monitor; new routines are added behind NEWLINE.

            ORG   PUTCHAR               ; $FE00
            JMP   put_char              ; send B
            ORG   GETCHAR               ; $FE03
            JMP   get_char              ; wait for a byte, give it in B
            ORG   PUTSTR                ; $FE06
            JMP   put_str               ; send the zero-terminated text at X
            ORG   PUTHEX8               ; $FE09
            JMP   put_hex8              ; send B as two hex digits
            ORG   PUTHEX16              ; $FE0C
            JMP   put_hex16             ; send D as four hex digits
            ORG   NEWLINE               ; $FE0F
            JMP   new_line              ; send CR LF
