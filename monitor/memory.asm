; memory.asm - MD, MM, and the checked byte write they and L share.

; MD addr [end]: 16 bytes a line, "XXXX: XX XX ...", from addr through end
; (inclusive), or four lines without end; never past $FFFF.
cmd_md      JSR   need_arg
            STD   ARG_FROM
            JSR   get_arg
            BCC   md_end
            LDD   ARG_FROM
            ADDD  #4*16-1
            BCC   md_show
            LDD   #$FFFF                ; four lines would run past $FFFF
            BRA   md_show
md_end      JSR   end_of_args
            CPD   ARG_FROM
            LBLO  bad_argument          ; the end lies before the start
md_show     STD   ARG_TO
            LDX   ARG_FROM
md_line     JSR   new_line
            TFR   X,D
            JSR   put_hex16
            LDAB  #':'
            JSR   put_char
            MOVB  #16,MD_COUNT
md_byte     LDAB  #' '
            JSR   put_char
            LDAB  0,X
            JSR   put_hex8
            CPX   ARG_TO
            BEQ   md_done
            INX
            DEC   MD_COUNT
            BNE   md_byte
            BRA   md_line
md_done     RTS

; MM addr byte...: writes the bytes from addr on. All of them are checked
; first, so a bad one writes nothing. Every byte is written; the first
; that does not read back is reported.
cmd_mm      JSR   need_arg
            STD   ARG_FROM
            PSHX                        ; where the bytes begin
            JSR   need_arg              ; at least one byte
mm_check    TSTA
            LBNE  bad_argument          ; more than a byte
            JSR   get_arg
            BCC   mm_check
            PULX
            CLR   WRITE_FAIL
            LDY   ARG_FROM
mm_write    JSR   get_arg
            BCS   mm_done
            JSR   store_byte
            BCC   mm_next
            TST   WRITE_FAIL
            BNE   mm_next
            INC   WRITE_FAIL
            CLR   ERR_ADDR
            CLR   ERR_ADDR+1
            STY   ERR_ADDR+2
mm_next     INY
            BRA   mm_write
mm_done     TST   WRITE_FAIL
            BEQ   mm_end
            JMP   put_write_error
mm_end      RTS

; store_byte: writes B to the address in Y and reads it back: C clear when
; it reads back, C set when not. Refused (not written), because a load or
; MM there would pull the ground from under the monitor: the registers of
; serial interface 0, which it talks through (a cleared control register
; would leave it deaf until reset), and its own RAM below the vector
; slots. Keeps every register.
store_byte  CPY   #SCI0BDH
            BLO   sb_write
            CPY   #SCI0DRL
            BLS   sb_fail
            CPY   #MON_RAM
            BLO   sb_write
            CPY   #SLOTS
            BLO   sb_fail
sb_write    STAB  0,Y
            CMPB  0,Y
            BNE   sb_fail
            CLC
            RTS
sb_fail     SEC
            RTS

; put_write_error: "Write error at $" and the address in ERR_ADDR: four
; digits for a 16-bit address, six for a paged one (page and window
; address), eight beyond.
put_write_error
            LDX   #TXT_WRITE_ERROR
            JSR   print_line
            LDD   ERR_ADDR
            BEQ   pw_low
            TSTA
            BEQ   pw_page
            JSR   put_hex16
            BRA   pw_low
pw_page     JSR   put_hex8
pw_low      LDD   ERR_ADDR+2
            JMP   put_hex16
