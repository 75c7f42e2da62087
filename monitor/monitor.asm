; monitor.asm - the RT12 board's resident monitor, RT12 Monitor 1.0.
;
; After reset the monitor sets up serial interface 0 (8 data bits, no
; parity, 9600 baud at an 8 MHz bus clock), greets, and reads command lines
; there: L loads S-records, G runs a program, RD and RM show and set the
; user's registers, MD and MM show and change memory, HELP lists them.
; A program returns to the monitor with SWI. docs/monitor.md describes the
; commands for users; this file and the files it includes are the whole
; source. The build assembles it with ta12 into rt12_kbm12.s19.
;
; Memory it uses:
;   $C000-$FFFF  flash page $3F: code, texts, the textbook routine table
;                at $EE80, the routine table at $FE00, the interrupt
;                dispatch and the vectors at $FF80
;   $3C80-$3FFF  RAM: its stack, its variables and the user vector slots
;                (ram.asm); user programs have $1000-$3C7F
;
; The fixed interface (routine addresses, user vector slots) is named in
; rt12.inc and, for the textbook routine table, dbug12.inc, which user
; programs include too; the monitor takes its addresses from there, so
; they cannot drift apart.

            include "rt12.inc"
            include "dbug12.inc"
            include "ram.asm"

; Characters the monitor treats specially
EOT         EQU   $04           ; "Stop load": ends a load at once
BS          EQU   $08
LF          EQU   $0A
CR          EQU   $0D
DEL         EQU   $7F

            ORG   $C000
            include "start.asm"
            include "line_input.asm"
            include "arguments.asm"
            include "registers.asm"
            include "memory.asm"
            include "load.asm"
            include "serial.asm"
            include "texts.asm"
            include "textbook_routines.asm"

            include "textbook_table.asm"
            include "routines.asm"
            include "vectors.asm"

            END   reset
