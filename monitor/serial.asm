; serial.asm - characters through serial interface 0. The routine table
; (routines.asm) hands these to user programs; each keeps every register
; but its result, the condition codes included.

; put_char: sends B as soon as the transmitter takes it.
put_char    PSHC
pc_wait     BRCLR SCI0SR1,#TDRE,pc_wait
            STAB  SCI0DRL
            PULC
            RTS

; get_char: waits for a received byte and gives it in B. Every character
; the monitor reads comes through here.
get_char    PSHC
gc_wait     BRCLR SCI0SR1,#RDRF,gc_wait
            LDAB  SCI0DRL
            PULC
            RTS

; put_str: sends the text at X up to its zero byte.
put_str     PSHC
            PSHB
            PSHX
ps_next     LDAB  1,X+
            BEQ   ps_done
            BSR   put_char
            BRA   ps_next
ps_done     PULX
            PULB
            PULC
            RTS

; put_hex8: sends B as two hex digits.
put_hex8    PSHC
            PSHB
            LSRB
            LSRB
            LSRB
            LSRB
            BSR   put_digit
            LDAB  0,SP
            ANDB  #$0F
            BSR   put_digit
            PULB
            PULC
            RTS

; put_digit: sends the hex digit for the value 0-15 in B (changes B).
put_digit   ADDB  #'0'
            CMPB  #'9'
            BLS   put_char
            ADDB  #'A'-'9'-1
            BRA   put_char

; put_hex16: sends D as four hex digits.
put_hex16   PSHC
            PSHB
            TAB
            BSR   put_hex8
            PULB
            BSR   put_hex8
            PULC
            RTS

; new_line: sends CR LF.
new_line    PSHC
            PSHB
            LDAB  #CR
            BSR   put_char
            LDAB  #LF
            BSR   put_char
            PULB
            PULC
            RTS

; print_line: a new line, then the text at X. Every line the monitor
; prints starts this way, so the prompt's own CR LF ends it.
print_line  BSR   new_line
            BRA   put_str
