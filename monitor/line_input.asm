; line_input.asm - reading one command line with echo and erasing.

; read_line: reads a line into LINE_BUF, upper case, ended by a zero byte,
; its length in LINE_LEN. Characters from blank to '~' are echoed and
; taken while the line has room (LINE_MAX); further ones are dropped
; without echo. BS and DEL erase the last character (echo BS, blank, BS).
; CR or LF ends the line and is not echoed; an LF right after a CR belongs
; to that CR and is skipped, also across lines and after a load. Other
; control characters are ignored.
read_line   CLR   LINE_LEN
rl_next     JSR   get_char
            BRCLR MON_FLAGS,#F_CR,rl_char
            BCLR  MON_FLAGS,#F_CR
            CMPB  #LF
            BEQ   rl_next               ; the LF of a CR LF pair
rl_char     CMPB  #CR
            BEQ   rl_cr
            CMPB  #LF
            BEQ   rl_end
            CMPB  #BS
            BEQ   rl_erase
            CMPB  #DEL
            BEQ   rl_erase
            CMPB  #' '
            BLO   rl_next
            CMPB  #'~'
            BHI   rl_next
            LDAA  LINE_LEN
            CMPA  #LINE_MAX
            BHS   rl_next               ; full: not taken
            JSR   put_char              ; echo as typed
            CMPB  #'a'
            BLO   rl_store
            CMPB  #'z'
            BHI   rl_store
            SUBB  #'a'-'A'
rl_store    LDX   #LINE_BUF
            STAB  A,X
            INC   LINE_LEN
            BRA   rl_next
rl_erase    TST   LINE_LEN
            BEQ   rl_next               ; nothing to erase
            DEC   LINE_LEN
            LDX   #TXT_ERASE
            JSR   put_str
            BRA   rl_next
rl_cr       BSET  MON_FLAGS,#F_CR
rl_end      LDAA  LINE_LEN
            LDX   #LINE_BUF
            CLR   A,X
            RTS
