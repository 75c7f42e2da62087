; arguments.asm - reading words and hexadecimal numbers from the command
; line. X is the scan pointer throughout; lines are already upper case.

; skip_blanks: moves X past blanks. Keeps D.
skip_blanks PSHB
sk_next     LDAB  0,X
            CMPB  #' '
            BNE   sk_done
            INX
            BRA   sk_next
sk_done     PULB
            RTS

; get_arg: reads the next number: blanks, an optional '$', one or more hex
; digits up to a blank or the end of the line, at most $FFFF. Gives C
; clear and the value in D, or C set when the line has nothing more.
; Anything else is a bad argument.
get_arg     BSR   skip_blanks
            TST   0,X
            BNE   ga_number
            SEC
            RTS
ga_number   LDAB  0,X
            CMPB  #'$'
            BNE   ga_first
            INX
ga_first    LDAB  0,X
            BSR   hex_value
            LBCS  bad_argument          ; a number needs a digit
            CLRA
            STD   NUM
ga_next     INX
            LDAB  0,X
            BEQ   ga_end
            CMPB  #' '
            BEQ   ga_end
            BSR   hex_value
            LBCS  bad_argument
            STAB  DIGIT
            LDAA  NUM
            ANDA  #$F0
            LBNE  bad_argument          ; a fifth significant digit
            LDD   NUM
            LSLD
            LSLD
            LSLD
            LSLD
            ORAB  DIGIT
            STD   NUM
            BRA   ga_next
ga_end      LDD   NUM
            CLC
            RTS

; need_arg: as get_arg, but the number must be there.
need_arg    BSR   get_arg
            LBCS  bad_argument
            RTS

; end_of_args: nothing but blanks may follow. Keeps D.
end_of_args BSR   skip_blanks
            TST   0,X
            LBNE  bad_argument
            RTS

; hex_value: the value of the hex digit in B (either case): C clear and
; the value in B, or C set for any other character.
hex_value   CMPB  #'0'
            BLO   hv_none
            CMPB  #'9'
            BLS   hv_decimal
            CMPB  #'a'
            BLO   hv_upper
            SUBB  #'a'-'A'
hv_upper    CMPB  #'A'
            BLO   hv_none
            CMPB  #'F'
            BHI   hv_none
            SUBB  #'A'-10
            CLC
            RTS
hv_decimal  SUBB  #'0'
            CLC
            RTS
hv_none     SEC
            RTS

; find_word: looks up the word at X (up to a blank or the end of the line)
; in a table of entries, each a name ended by 0 and A bytes of payload;
; the table ends with a 0 byte. Found: C clear, X behind the word, Y at
; the entry's payload. Not found: C set, X unchanged. Keeps A.
find_word
fw_entry    TST   0,Y
            BEQ   fw_none
            PSHX
fw_char     LDAB  0,Y
            BEQ   fw_name_end
            CMPB  0,X
            BNE   fw_skip
            INX
            INY
            BRA   fw_char
fw_name_end LDAB  0,X                   ; the name matched: the word must end too
            BEQ   fw_found
            CMPB  #' '
            BEQ   fw_found
fw_skip     LDAB  1,Y+                  ; to the end of the name ...
            BNE   fw_skip
            LEAY  A,Y                   ; ... and past the payload
            PULX
            BRA   fw_entry
fw_found    INY                         ; past the name's 0
            LEAS  2,SP                  ; drop the saved word start
            CLC
            RTS
fw_none     SEC
            RTS
