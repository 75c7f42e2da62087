; textbook_routines.asm - the routines of the table at $EE80 (textbook_table.asm):
; the user-callable routines of the monitor that HCS12 textbooks and
; evaluation boards document, for programs written for it.
;
; Their convention is that of a C compiler: the first argument in D, the
; others on the stack (pushed last to first, so the second argument is
; nearest the return address), the result in D. A near routine is called
; with JSR [entry,PCR] and finds its second argument at 2,SP; a far one
; with CALL [entry,PCR], at 3,SP (CALL also stacks the program page), and
; returns with RTC. Each keeps X and Y; the condition codes are not kept.
; They use no RAM of the monitor's own beyond the line-end flag that
; read_line keeps, so they work whatever the program did to the rest.

; tb_getchar: waits for a character; D = the character.
tb_getchar  JSR   get_char
            CLRA
            RTS

; tb_putchar: sends the character in B; D is given back unchanged.
tb_putchar  JMP   put_char

; tb_main: the table's first entry restarts the monitor.
tb_main     JMP   reset

; tb_isxdigit: D = 1 when B is 0-9, A-F or a-f, else 0.
tb_isxdigit BSR   tb_toupper
            CMPB  #'0'
            BLO   tb_false
            CMPB  #'9'
            BLS   tb_true
            CMPB  #'A'
            BLO   tb_false
            CMPB  #'F'
            BHI   tb_false
tb_true     LDD   #1
            RTS
tb_false    CLRA
            CLRB
            RTS

; tb_isalpha: D = 1 when B is a letter, else 0.
tb_isalpha  BSR   tb_toupper
            CMPB  #'A'
            BLO   tb_false
            CMPB  #'Z'
            BHI   tb_false
            BRA   tb_true

; tb_toupper: D = the character in B in upper case.
tb_toupper  CLRA
            CMPB  #'a'
            BLO   tu_done
            CMPB  #'z'
            BHI   tu_done
            SUBB  #'a'-'A'
tu_done     RTS

; tb_strlen: D = the number of characters of the text at D.
tb_strlen   PSHX
            PSHD                        ; the start
            TFR   D,X
sl_next     TST   1,X+
            BNE   sl_next
            DEX
            TFR   X,D
            SUBD  2,SP+                 ; the end minus the start
            PULX
            RTS

; tb_strcpy: copies the text at the second argument, its zero byte
; included, to D; D is given back.
tb_strcpy   PSHY
            PSHX
            PSHD                        ; to, the result
            TFR   D,X
            LDY   8,SP                  ; from
sc_next     LDAB  1,Y+
            STAB  1,X+
            BNE   sc_next
            PULD
            PULX
            PULY
            RTS

; tb_out2hex (far): sends B as two hex digits.
tb_out2hex  JSR   put_hex8
            RTC

; tb_out4hex (far): sends D as four hex digits.
tb_out4hex  JSR   put_hex16
            RTC

; tb_setvector: the handler address (second argument) goes into the RAM
; slot of a vector; D = 0, or -1 for a vector without a slot (SWI, reset)
; or a number that names none. The vector is given as its address
; ($FF80-$FFFC) or as the low byte of its address divided by two ($40-$7E).
tb_setvector
            CPD   #$0040
            BLO   sv_bad
            CPD   #$007E
            BHI   sv_address
            LSLD                        ; $40-$7E: the vector is $FF00 + 2n
            ADDD  #$FF00
sv_address  CPD   #$FF80
            BLO   sv_bad
            CPD   #VSWI
            BEQ   sv_bad                ; SWI returns to the monitor
            CPD   #VRESET
            BHS   sv_bad
            BITB  #1
            BNE   sv_bad
            PSHX
            SUBD  #RAMVEC               ; the slot
            TFR   D,X
            MOVW  4,SP,0,X
            PULX
            CLRA
            CLRB
            RTS
sv_bad      LDD   #-1
            RTS

; tb_writeee, tb_erasee (far): the board maps no EEPROM. WriteEEByte
; answers 0 (false), EraseEE -1 (an error).
tb_writeee  CLRA
            CLRB
            RTC
tb_erasee   LDD   #-1
            RTC

; tb_readmem (far): copies the number of bytes of the third argument from
; the address in D to the buffer of the second; D = 0.
tb_readmem  PSHY
            PSHX
            TFR   D,X                   ; from
            LDY   7,SP                  ; to
            BSR   mem_copy
            PULX
            PULY
            CLRA
            CLRB
            RTC

; tb_writemem (far): copies the number of bytes of the third argument from
; the buffer of the second to the address in D and reads each back; D = 0,
; or -1 when a byte did not take (flash, say).
tb_writemem PSHY
            PSHX
            TFR   D,Y                   ; to
            LDX   7,SP                  ; from
            BSR   mem_copy
            PULX
            PULY
            RTC

; mem_copy: copies 11,SP bytes (the far routines' third argument, seen
; from here) from X to Y, each read back; D = 0, or -1 when one differs.
mem_copy    LDD   11,SP
            BEQ   mc_done
mc_next     PSHD
            LDAA  0,X
            STAA  0,Y
            CMPA  1,Y+
            BNE   mc_fail
            INX
            PULD
            SUBD  #1
            BNE   mc_next
mc_done     RTS
mc_fail     PULD
            LDD   #-1
            RTS

; tb_sscanhex (far): reads the hex digits at the start of the text at D
; into the word the second argument points to. D = the address of the
; first character behind the digits, or 0 (and nothing stored) when there
; is no digit or the number needs more than 16 bits.
tb_sscanhex PSHY
            PSHX
            TFR   D,X                   ; the text
            LDY   #0                    ; the number
            CLRA                        ; A: digits so far
sh_next     LDAB  0,X
            PSHA
            CLRA
            JSR   tb_isxdigit
            TBEQ  B,sh_end
            LDAB  0,X
            JSR   tb_toupper
            SUBB  #'0'
            CMPB  #9
            BLS   sh_digit
            SUBB  #'A'-'0'-10
sh_digit    PSHB
            TFR   Y,D
            CPD   #$1000
            BHS   sh_too_big            ; a fifth digit would not fit
            LSLD
            LSLD
            LSLD
            LSLD
            ADDB  1,SP+
            TFR   D,Y
            PULA
            INCA
            INX
            BRA   sh_next
sh_too_big  LEAS  2,SP                  ; the digit and the count
            BRA   sh_fail
sh_end      PULA
            TBEQ  A,sh_fail
            STY   [7,SP]                ; the word the second argument names
            TFR   X,D
            BRA   sh_done
sh_fail     CLRA
            CLRB
sh_done     PULX
            PULY
            RTC

; tb_getcmdline (far): reads a line of at most the second argument's
; number of characters less one into the buffer at D and ends it with a
; zero byte; D = 0. Characters are echoed as typed; BS and DEL erase the
; last one; CR or LF ends the line (not echoed), an LF right after a CR
; belonging to it as on the monitor's own command line. Further characters
; than the buffer holds and other control characters are dropped.
tb_getcmdline
            PSHY
            PSHX
            PSHD                        ; the buffer's start
            TFR   D,X
            LDY   9,SP                  ; room, the zero byte included
            BEQ   gl_done               ; no room at all
gl_next     JSR   get_char
            BRCLR MON_FLAGS,#F_CR,gl_char
            BCLR  MON_FLAGS,#F_CR
            CMPB  #LF
            BEQ   gl_next               ; the LF of a CR LF pair
gl_char     CMPB  #CR
            BEQ   gl_cr
            CMPB  #LF
            BEQ   gl_end
            CMPB  #BS
            BEQ   gl_erase
            CMPB  #DEL
            BEQ   gl_erase
            CMPB  #' '
            BLO   gl_next
            CPY   #1
            BLS   gl_next               ; full: only the zero byte fits
            JSR   put_char
            STAB  1,X+
            DEY
            BRA   gl_next
gl_erase    CPX   0,SP
            BEQ   gl_next               ; nothing to erase
            DEX
            INY
            PSHX
            LDX   #TXT_ERASE
            JSR   put_str
            PULX
            BRA   gl_next
gl_cr       BSET  MON_FLAGS,#F_CR
gl_end      CLR   0,X
gl_done     PULD
            PULX
            PULY
            CLRA
            CLRB
            RTC

; tb_printf: sends the text at D, its conversions filled from the further
; arguments; D = the number of characters sent. A conversion is
;   % [flags] [width] [.precision] [l] letter
; flags: - (align left), 0 (fill with zeros), + (a sign on positive
; numbers), blank (a blank there); width and precision are digits or *
; (taken from the next argument); l takes a 32-bit argument (high word
; first on the stack, so push the low word first). Letters: d and i
; (signed), u (unsigned), o (octal), x and X (hex), p (a pointer as
; four hex digits), c (a character), s (a text; the precision limits
; it), % (a percent sign). Any other letter is sent as it is.
;
; Its frame, addressed through Y while it runs: the locals below, then X
; and Y of the caller, the return address and the arguments.
PF_COUNT    EQU   0                     ; 2: characters sent
PF_ARG      EQU   2                     ; 2: address of the next argument
PF_FLAGS    EQU   4                     ; flags below
PF_WIDTH    EQU   5
PF_PREC     EQU   6                     ; $FF: none given
PF_BASE     EQU   7
PF_SIGN     EQU   8                     ; the sign character, or 0
PF_LEN      EQU   9                     ; digits in PF_DIGITS
PF_ZEROS    EQU   10                    ; zeros to send before the digits
PF_PAD      EQU   11                    ; blanks (or zeros) the width adds
PF_VAL      EQU   12                    ; 4: the number being converted
PF_DIGITS   EQU   16                    ; 11: its digits, lowest first
PF_LOCALS   EQU   27
PF_ARGS     EQU   PF_LOCALS+6           ; the second argument

F_LEFT      EQU   $01
F_ZERO      EQU   $02
F_PLUS      EQU   $04
F_BLANK     EQU   $08
F_LONG      EQU   $10
F_UPPER     EQU   $20
F_SIGNED    EQU   $40

tb_printf   PSHY
            PSHX
            LEAS  -PF_LOCALS,SP
            TFR   SP,Y                  ; the frame
            TFR   D,X                   ; the format
            MOVW  #0,PF_COUNT,Y
            PSHX
            LEAX  PF_ARGS,Y
            STX   PF_ARG,Y
            PULX
pf_next     LDAB  1,X+
            BEQ   pf_done
            CMPB  #'%'
            BEQ   pf_convert
pf_literal  JSR   pf_out
            BRA   pf_next
pf_done     LDD   PF_COUNT,Y
            LEAS  PF_LOCALS,SP
            PULX
            PULY
            RTS

pf_convert  CLR   PF_FLAGS,Y
            CLR   PF_WIDTH,Y
            MOVB  #$FF,PF_PREC,Y
            CLR   PF_SIGN,Y
pf_flag     LDAB  1,X+
            LDAA  #F_LEFT
            CMPB  #'-'
            BEQ   pf_set_flag
            LDAA  #F_ZERO
            CMPB  #'0'
            BEQ   pf_set_flag
            LDAA  #F_PLUS
            CMPB  #'+'
            BEQ   pf_set_flag
            LDAA  #F_BLANK
            CMPB  #' '
            BNE   pf_width
pf_set_flag ORAA  PF_FLAGS,Y
            STAA  PF_FLAGS,Y
            BRA   pf_flag
pf_width    JSR   pf_count
            STAA  PF_WIDTH,Y
            CMPB  #'.'
            BNE   pf_length
            LDAB  1,X+
            JSR   pf_count
            STAA  PF_PREC,Y
pf_length   CMPB  #'l'
            BNE   pf_letter
            BSET  PF_FLAGS,Y,#F_LONG
            LDAB  1,X+
pf_letter   TBEQ  B,pf_end_of_format
            CMPB  #'%'
            BEQ   pf_literal
            CMPB  #'c'
            BEQ   pf_char
            CMPB  #'s'
            BEQ   pf_string
            CMPB  #'d'
            BEQ   pf_signed
            CMPB  #'i'
            BEQ   pf_signed
            LDAA  #10
            CMPB  #'u'
            BEQ   pf_unsigned
            LDAA  #8
            CMPB  #'o'
            BEQ   pf_unsigned
            LDAA  #16
            CMPB  #'x'
            BEQ   pf_unsigned
            BSET  PF_FLAGS,Y,#F_UPPER
            CMPB  #'X'
            BEQ   pf_unsigned
            CMPB  #'p'
            LBNE  pf_literal
            BCLR  PF_FLAGS,Y,#F_LONG
            MOVB  #4,PF_PREC,Y          ; a pointer: four hex digits
            BRA   pf_unsigned
pf_end_of_format
            DEX                         ; the format's zero byte ends it
            JMP   pf_next

; A number: the argument into PF_VAL, then its digits.
pf_signed   BSET  PF_FLAGS,Y,#F_SIGNED
            LDAA  #10
pf_unsigned STAA  PF_BASE,Y
            JSR   pf_fetch_number
            JSR   pf_number
            JMP   pf_next

pf_char     JSR   pf_fetch_word
            STAB  PF_DIGITS,Y           ; the character as a text of one
            MOVB  #1,PF_LEN,Y
            BRA   pf_text
pf_string   JSR   pf_fetch_word
            PSHX
            TFR   D,X
            CLRA                        ; the length, up to the precision
ps_len      LDAB  A,X
            BEQ   ps_counted
            CMPA  PF_PREC,Y
            BHS   ps_counted            ; (no precision is $FF)
            INCA
            BRA   ps_len
ps_counted  STAA  PF_LEN,Y
            STX   PF_VAL,Y              ; the text's address
            PULX
            BSR   pf_pad_text
            BRSET PF_FLAGS,Y,#F_LEFT,ps_send
            JSR   pf_blanks
ps_send     PSHX
            LDX   PF_VAL,Y
            LDAA  PF_LEN,Y
            BEQ   ps_sent
ps_char     LDAB  1,X+
            JSR   pf_out
            DBNE  A,ps_char
ps_sent     PULX
            BRSET PF_FLAGS,Y,#F_LEFT,pf_trailing
            JMP   pf_next
pf_trailing JSR   pf_blanks
            JMP   pf_next

; %c: its one character from PF_DIGITS, padded as a text.
pf_text     BSR   pf_pad_text
            BRSET PF_FLAGS,Y,#F_LEFT,pt_send
            JSR   pf_blanks
pt_send     LDAB  PF_DIGITS,Y
            JSR   pf_out
            BRSET PF_FLAGS,Y,#F_LEFT,pf_trailing
            JMP   pf_next

; pf_pad_text: PF_PAD = the width less PF_LEN characters, or 0.
pf_pad_text LDAA  PF_WIDTH,Y
            SUBA  PF_LEN,Y
            BCC   ppt_set
            CLRA
ppt_set     STAA  PF_PAD,Y
            RTS

; pf_count: a width or a precision: digits from B on, or * for the next
; argument. A = the number; B = the character after it.
pf_count    CLRA
            CMPB  #'*'
            BNE   pc_digit
            JSR   pf_fetch_word         ; B: the argument's low byte
            TBA
            LDAB  1,X+
            RTS
pc_digit    CMPB  #'0'
            BLO   pc_done
            CMPB  #'9'
            BHI   pc_done
            SUBB  #'0'
            PSHB
            LDAB  #10
            MUL
            ADDB  1,SP+
            TBA
            LDAB  1,X+
            BRA   pc_digit
pc_done     RTS

; pf_fetch_word: D = the next argument (16 bits).
pf_fetch_word
            PSHX
            LDX   PF_ARG,Y
            LDD   2,X+
            STX   PF_ARG,Y
            PULX
            RTS

; pf_fetch_number: PF_VAL = the next argument, 32 bits with l, else 16
; (sign-extended for d and i); a negative signed number becomes its
; magnitude, with the sign in PF_SIGN.
pf_fetch_number
            PSHX
            LDX   PF_ARG,Y
            BRSET PF_FLAGS,Y,#F_LONG,fn_long
            LDD   2,X+
            STD   PF_VAL+2,Y
            CLRA
            CLRB
            BRCLR PF_FLAGS,Y,#F_SIGNED,fn_high
            TST   PF_VAL+2,Y
            BPL   fn_high
            LDD   #$FFFF
            BRA   fn_high
fn_long     LDD   2,X
            STD   PF_VAL+2,Y
            LDD   4,X+
fn_high     STD   PF_VAL,Y
            STX   PF_ARG,Y
            PULX
            BRCLR PF_FLAGS,Y,#F_SIGNED,fn_done
            LDAA  #'+'
            BRSET PF_FLAGS,Y,#F_PLUS,fn_sign
            LDAA  #' '
            BRSET PF_FLAGS,Y,#F_BLANK,fn_sign
            CLRA
fn_sign     STAA  PF_SIGN,Y
            TST   PF_VAL,Y
            BPL   fn_done
            MOVB  #'-',PF_SIGN,Y
            ; the magnitude: 0 - value over 32 bits
            LDD   #0
            SUBD  PF_VAL+2,Y
            STD   PF_VAL+2,Y
            LDD   #0
            SBCB  PF_VAL+1,Y
            SBCA  PF_VAL,Y
            STD   PF_VAL,Y
fn_done     RTS

; pf_number: sends PF_VAL in base PF_BASE with its sign, precision and
; width.
pf_number   PSHX
            CLR   PF_LEN,Y
pn_digit    LDAB  PF_BASE,Y
            CLRA
            TFR   D,X
            LDD   PF_VAL,Y              ; the high word first
            IDIV                        ; X: quotient, D: remainder
            STX   PF_VAL,Y
            ; (remainder:low word) / base; the quotient fits 16 bits
            PSHY
            PSHD
            LDD   PF_VAL+2,Y
            PSHD
            LDAB  PF_BASE,Y
            CLRA
            TFR   D,X
            PULD
            PULY
            EDIV                        ; Y: quotient, D: remainder
            TFR   Y,X
            PULY
            STX   PF_VAL+2,Y
            ADDB  #'0'                  ; the digit's character
            CMPB  #'9'
            BLS   pn_store
            ADDB  #'a'-'9'-1
            BRCLR PF_FLAGS,Y,#F_UPPER,pn_store
            SUBB  #'a'-'A'
pn_store    LDAA  PF_LEN,Y
            LEAX  PF_DIGITS,Y
            STAB  A,X
            INC   PF_LEN,Y
            LDD   PF_VAL,Y
            BNE   pn_digit
            LDD   PF_VAL+2,Y
            BNE   pn_digit
            ; zeros the precision asks for beyond the digits
            CLR   PF_ZEROS,Y
            LDAA  PF_PREC,Y
            CMPA  #$FF
            BEQ   pn_width
            SUBA  PF_LEN,Y
            BLS   pn_width
            STAA  PF_ZEROS,Y
pn_width    LDAB  PF_LEN,Y              ; the characters it takes
            ADDB  PF_ZEROS,Y
            TST   PF_SIGN,Y
            BEQ   pn_pad
            INCB
pn_pad      LDAA  PF_WIDTH,Y
            SBA
            BCC   pn_pad_set
            CLRA
pn_pad_set  STAA  PF_PAD,Y
            BRSET PF_FLAGS,Y,#F_LEFT,pn_sign
            ; With 0 and no precision the width is filled with zeros
            ; behind the sign; otherwise with blanks before it.
            BRCLR PF_FLAGS,Y,#F_ZERO,pn_blanks
            LDAA  PF_PREC,Y
            CMPA  #$FF
            BNE   pn_blanks
            LDAA  PF_PAD,Y
            ADDA  PF_ZEROS,Y
            STAA  PF_ZEROS,Y
            CLR   PF_PAD,Y
pn_blanks   BSR   pf_blanks
pn_sign     LDAB  PF_SIGN,Y
            BEQ   pn_zeros
            BSR   pf_out
pn_zeros    LDAA  PF_ZEROS,Y
            BEQ   pn_send
            LDAB  #'0'
pn_zero     BSR   pf_out
            DBNE  A,pn_zero
pn_send     LDAA  PF_LEN,Y
            LEAX  PF_DIGITS,Y
pn_char     DECA
            LDAB  A,X
            BSR   pf_out
            TSTA
            BNE   pn_char
            PULX
            BRCLR PF_FLAGS,Y,#F_LEFT,pn_done
            BSR   pf_blanks
pn_done     RTS

; pf_blanks: sends PF_PAD blanks (keeps A).
pf_blanks   PSHA
            LDAA  PF_PAD,Y
            BEQ   pb_done
            LDAB  #' '
pb_next     BSR   pf_out
            DBNE  A,pb_next
pb_done     PULA
            RTS

; pf_out: sends B and counts it (keeps every register).
pf_out      JSR   put_char
            PSHD
            LDD   PF_COUNT,Y
            ADDD  #1
            STD   PF_COUNT,Y
            PULD
            RTS
