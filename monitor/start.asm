; start.asm - reset, the set-up of serial interface 0, and the command loop
; with its table of commands.

BAUD_9600   EQU   52            ; 8 MHz / (16 x 52) = 9615 baud, 0.2% fast

; Reset: the vector at $FFFE comes here.
reset       LDS   #MON_STACK
            JSR   sci_init
            ; The user vector slots start empty: an interrupt without a
            ; handler is reported instead of being followed to $0000.
            LDX   #SLOTS
rs_slot     CLR   1,X+
            CPX   #SLOTS_END
            BNE   rs_slot
            ; The user register set: all zero, interrupts masked (S, X and
            ; I set, as after reset), PC at the start of user RAM, SP just
            ; below the monitor's RAM.
            LDX   #U_CCR
rs_reg      CLR   1,X+
            CPX   #U_SP
            BNE   rs_reg
            MOVB  #$D0,U_CCR
            MOVW  #USERRAM,U_PC
            MOVW  #USERTOP,U_SP
            CLR   MON_FLAGS
            LDX   #TXT_BANNER
            JSR   print_line

; The command loop. Each command starts on a fresh monitor stack, so an
; error may come back here from any depth with a JMP.
main_loop   LDS   #MON_STACK
            JSR   new_line
            LDX   #TXT_PROMPT
            JSR   put_str
            JSR   read_line
            LDX   #LINE_BUF
            JSR   skip_blanks
            TST   0,X
            BEQ   main_loop             ; an empty line prompts again
            LDY   #COMMANDS
            LDAA  #2                    ; an entry's handler address
            JSR   find_word
            BCS   unknown_command
            LDY   0,Y
            JSR   0,Y                   ; X: the rest of the line
            BRA   main_loop

unknown_command
            LDX   #TXT_UNKNOWN
            BRA   report
; Commands jump here for a missing or malformed argument.
bad_argument
            LDX   #TXT_BAD_ARG
report      JSR   print_line
            BRA   main_loop

; Serial interface 0: 9600 baud, 8 data bits, no parity, transmitter and
; receiver on, no interrupts (the monitor polls; interrupts are the user's).
sci_init    CLR   SCI0BDH
            MOVB  #BAUD_9600,SCI0BDL
            CLR   SCI0CR1
            MOVB  #TE|RE,SCI0CR2
            RTS

; The commands: each entry is the name (upper case, ended by 0) and the
; address of its handler. A handler gets X just behind the name, reads
; its arguments from there and returns with RTS.
COMMANDS    ASCIIZ "L"
            FDB   cmd_load
            ASCIIZ "G"
            FDB   cmd_go
            ASCIIZ "RD"
            FDB   cmd_rd
            ASCIIZ "RM"
            FDB   cmd_rm
            ASCIIZ "MD"
            FDB   cmd_md
            ASCIIZ "MM"
            FDB   cmd_mm
            ASCIIZ "HELP"
            FDB   cmd_help
            ASCIIZ "?"
            FDB   cmd_help
            FCB   0                     ; end of the table

cmd_help    JSR   end_of_args
            LDX   #TXT_HELP
            JMP   print_line
