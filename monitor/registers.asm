; registers.asm - the user register set: RD, RM, G, and the return to the
; monitor through SWI.

; The registers by name: name, where the value is kept, and its size (2 a
; word, 1 a byte). RD shows them in this order up to the entry of size 0;
; that last entry is D, kept as A and B, which RM also sets.
REGISTERS   ASCIIZ "PC"
            FDB   U_PC
            FCB   2
            ASCIIZ "SP"
            FDB   U_SP
            FCB   2
            ASCIIZ "X"
            FDB   U_X
            FCB   2
            ASCIIZ "Y"
            FDB   U_Y
            FCB   2
            ASCIIZ "A"
            FDB   U_A
            FCB   1
            ASCIIZ "B"
            FDB   U_B
            FCB   1
            ASCIIZ "CCR"
            FDB   U_CCR
            FCB   1
            ASCIIZ "D"
            FDB   U_A
            FCB   0
            FCB   0                     ; end of the table

; RD: the register line.
cmd_rd      JSR   end_of_args
; print_regs: a new line, then PC=XXXX SP=XXXX X=XXXX Y=XXXX A=XX B=XX CCR=XX
print_regs  JSR   new_line
            LDY   #REGISTERS
pr_entry    TFR   Y,X                   ; the name
pr_skip     LDAB  1,Y+
            BNE   pr_skip
            LDAA  2,Y                   ; its size; 0 ends the line
            BEQ   pr_done
            CPX   #REGISTERS
            BEQ   pr_name
            LDAB  #' '
            JSR   put_char
pr_name     JSR   put_str
            LDAB  #'='
            JSR   put_char
            LDX   0,Y
            CMPA  #1
            BEQ   pr_byte
            LDD   0,X
            JSR   put_hex16
            BRA   pr_next
pr_byte     LDAB  0,X
            JSR   put_hex8
pr_next     LEAY  3,Y
            BRA   pr_entry
pr_done     RTS

; RM reg value: sets one register of the user set.
cmd_rm      JSR   skip_blanks
            LDY   #REGISTERS
            LDAA  #3
            JSR   find_word
            LBCS  bad_argument          ; no such register
            PSHY
            JSR   need_arg
            JSR   end_of_args
            PULY
            LDX   0,Y                   ; where it is kept
            PSHD
            LDAA  2,Y
            CMPA  #1
            BEQ   rm_byte
            TSTA
            BEQ   rm_pair
            PULD
            STD   0,X
            RTS
rm_byte     PULD
            TSTA
            LBNE  bad_argument          ; more than a byte
            STAB  0,X
            RTS
rm_pair     PULD                        ; D: A and B are kept in frame order
            STAA  U_A
            STAB  U_B
            RTS

; G [addr]: runs the user program at addr, or at the user PC (the start
; address of the last load, or where the program stopped). The registers
; come from the user register set: the monitor builds an interrupt frame
; of them below the user stack pointer and leaves with RTI.
cmd_go      JSR   get_arg
            BCS   go_run
            JSR   end_of_args
            STD   U_PC
go_run      JSR   new_line              ; the program's output starts on a fresh line
            LDX   U_SP
            LEAX  -FRAME_SIZE,X
            LDY   #U_CCR
            LDAB  #FRAME_SIZE
go_copy     LDAA  1,Y+
            STAA  1,X+
            DBNE  B,go_copy
            LEAS  -FRAME_SIZE,X
            RTI

; SWI: the program is back. Its registers are in the frame SWI stacked;
; they become the user register set, the register line is shown and the
; monitor prompts again. The vector at $FFF6 comes here.
swi_entry   TFR   SP,X
            BSR   save_user             ; still on the user stack, below the frame
            LDS   #MON_STACK
            JSR   print_regs
            JMP   main_loop

; save_user: copies the interrupt frame at X into the user register set;
; the user SP is the address just above the frame.
save_user   LDY   #U_CCR
            LDAB  #FRAME_SIZE
su_copy     LDAA  1,X+
            STAA  1,Y+
            DBNE  B,su_copy
            STX   U_SP
            RTS
