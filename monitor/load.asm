; load.asm - L: S-records from serial interface 0 into memory.
;
; A record is decoded as its characters come (so the monitor keeps up with
; a line at full speed) into REC_BUF; at its line end it is checked and
; only then written, so a damaged record writes nothing. Nothing is
; echoed. S1/S2/S3 bytes are written and read back; S7/S8/S9 end the
; load, their non-zero 16-bit address becoming the user PC; S0, S4, S5,
; S6 and characters outside records are skipped. EOT ($04) ends the load
; at once.

cmd_load    JSR   end_of_args
            CLRA
            CLRB
            STD   LOADED
            STD   LOADED+2
ld_record   BSR   ld_char               ; wait for the S of a record
            CMPB  #'S'
            BEQ   ld_type
            CMPB  #'s'
            BNE   ld_record
ld_type     BSR   ld_char
            CMPB  #CR
            BEQ   ld_record             ; an S alone on its line
            CMPB  #LF
            BEQ   ld_record
            STAB  REC_TYPE
            CLR   REC_BAD
            CLRA
            CLRB
            STD   REC_LEN
; Pairs of hex digits up to the line end.
ld_pair     BSR   ld_char
            BSR   ld_is_end
            BEQ   ld_line_end
            JSR   hex_value
            BCS   ld_bad_char
            LSLB
            LSLB
            LSLB
            LSLB
            STAB  DIGIT
            BSR   ld_char
            BSR   ld_is_end
            BEQ   ld_odd_end
            JSR   hex_value
            BCS   ld_bad_char
            ORAB  DIGIT
            LDX   REC_LEN
            CPX   #REC_MAX
            BHS   ld_bad_char           ; longer than any record can be
            STAB  REC_BUF,X
            INX
            STX   REC_LEN
            BRA   ld_pair
ld_bad_char MOVB  #1,REC_BAD            ; the rest of the line is still read
            BRA   ld_pair
ld_odd_end  MOVB  #1,REC_BAD            ; half a pair
ld_line_end STAB  LAST_END
            BRA   ld_check

; ld_char: the next character (in B); EOT ends the load.
ld_char     JSR   get_char
            CMPB  #EOT
            BEQ   ld_abort
            RTS
ld_abort    BCLR  MON_FLAGS,#F_CR
            LDX   #TXT_ABORTED
            JSR   print_line
            JMP   main_loop

; ld_is_end: Z set when B is CR or LF.
ld_is_end   CMPB  #CR
            BEQ   ld_is_done
            CMPB  #LF
ld_is_done  RTS

; A whole record is in: skip it, write it, or end the load.
ld_check    LDAB  REC_TYPE
            SUBB  #'1'
            CMPB  #8
            LBHI  ld_record             ; S0 and anything not a digit 1-9
            LDX   #ADDR_LENGTHS
            LDAA  B,X
            LBEQ  ld_record             ; S4, S5 (a record count), S6
            STAA  ADDR_LEN
            JSR   check_record
            BCC   ld_sound
            LDX   #TXT_CHECKSUM
            JSR   print_line
            LDAB  REC_TYPE
            CMPB  #'7'
            BHS   ld_finish             ; a damaged end record still ends the load
            LBRA  ld_record
ld_sound    LDAB  REC_TYPE
            CMPB  #'7'
            BHS   ld_end_record
            JSR   write_record
            LBRA  ld_record
ld_end_record
            LDD   REC_ADDR
            BNE   ld_finish             ; a paged start address cannot go into PC
            LDD   REC_ADDR+2
            BEQ   ld_finish             ; 0: no start address given
            STD   U_PC
ld_finish   BCLR  MON_FLAGS,#F_CR       ; an LF after the end record's CR is
            LDAB  LAST_END              ; not an empty command line
            CMPB  #CR
            BNE   ld_report
            BSET  MON_FLAGS,#F_CR
ld_report   LDX   #TXT_LOADED
            JSR   print_line
            MOVW  LOADED,DEC_NUM
            MOVW  LOADED+2,DEC_NUM+2
            JSR   put_decimal
            LDX   #TXT_BYTES
            JMP   put_str

; Address bytes by record type S1 ... S9 (0: no data or end record).
ADDR_LENGTHS
            FCB   2,3,4,0,0,0,4,3,2

; check_record: C clear when the record in REC_BUF is sound: it holds its
; count, the count matches the bytes that follow, it has room for an
; address of ADDR_LEN bytes and the checksum, and all its bytes add up to
; $FF. Then REC_ADDR holds the address, zero-extended to 32 bits.
check_record
            TST   REC_BAD
            BNE   cr_bad
            LDX   REC_LEN
            BEQ   cr_bad                ; not even a count
            LDAB  REC_BUF               ; count + 1 = bytes decoded
            CLRA
            ADDD  #1
            CPD   REC_LEN
            BNE   cr_bad
            LDAA  ADDR_LEN
            CMPA  REC_BUF
            BHS   cr_bad                ; no room for address and checksum
            CLRA
            LDX   #REC_BUF
            LDY   REC_LEN
cr_sum      ADDA  1,X+
            DBNE  Y,cr_sum
            CMPA  #$FF
            BNE   cr_bad
            CLRA
            CLRB
            STD   REC_ADDR
            STD   REC_ADDR+2
            LDAB  #4                    ; the address fills the low bytes
            SUBB  ADDR_LEN
            LDY   #REC_ADDR
            LEAY  B,Y
            LDX   #REC_BUF+1
            LDAB  ADDR_LEN
cr_addr     LDAA  1,X+
            STAA  1,Y+
            DBNE  B,cr_addr
            CLC
            RTS
cr_bad      SEC
            RTS

; write_record: writes the data bytes of a sound S1/S2/S3 record from
; REC_ADDR on, each read back. Good bytes count in LOADED; the first
; address that fails is reported once for the record. PPAGE is put back
; afterwards.
write_record
            LDAB  REC_BUF
            SUBB  ADDR_LEN
            DECB                        ; minus the checksum
            BEQ   wr_done               ; a record without data
            STAB  DATA_LEFT
            CLR   WRITE_FAIL
            MOVB  PPAGE,SAVED_PAGE
            LDAB  ADDR_LEN
            INCB
            LDX   #REC_BUF
            LEAX  B,X                   ; the first data byte
wr_byte     LDAB  0,X
            BSR   store_paged
            BCS   wr_failed
            LDY   #LOADED
            BSR   inc32
            BRA   wr_next
wr_failed   TST   WRITE_FAIL
            BNE   wr_next
            INC   WRITE_FAIL
            MOVW  REC_ADDR,ERR_ADDR
            MOVW  REC_ADDR+2,ERR_ADDR+2
wr_next     INX
            LDY   #REC_ADDR
            BSR   inc32
            DEC   DATA_LEFT
            BNE   wr_byte
            MOVB  SAVED_PAGE,PPAGE
            TST   WRITE_FAIL
            BEQ   wr_done
            JMP   put_write_error
wr_done     RTS

; store_paged: writes B to the address in REC_ADDR, as store_byte does.
; An address above $FFFF carries a program page in bits 16-23, as the
; assembler writes it, and must lie in the page window $8000-$BFFF: the
; page goes into PPAGE and the byte through the window. Keeps X.
store_paged LDY   REC_ADDR+2
            TST   REC_ADDR
            BNE   sp_fail               ; beyond every page
            TST   REC_ADDR+1
            BEQ   sp_store              ; a plain 16-bit address
            CPY   #$8000
            BLO   sp_fail
            CPY   #$C000
            BHS   sp_fail
            MOVB  REC_ADDR+1,PPAGE
sp_store    JMP   store_byte
sp_fail     SEC
            RTS

; inc32: adds 1 to the 32-bit number at Y (most significant byte first).
inc32       PSHD
            LDD   2,Y
            ADDD  #1
            STD   2,Y
            BCC   i32_done
            LDD   0,Y
            ADDD  #1
            STD   0,Y
i32_done    PULD
            RTS

; put_decimal: prints the 32-bit number in DEC_NUM in decimal (DEC_NUM
; ends as 0). Each round divides by 10 in two steps, high word then low
; word with the remainder in front, and stacks the digit.
put_decimal CLR   DEC_DIGITS
pd_divide   LDD   DEC_NUM
            LDX   #10
            IDIV                        ; X = high / 10, D = remainder
            STX   DEC_NUM
            TFR   D,Y
            LDD   DEC_NUM+2
            LDX   #10
            EDIV                        ; Y = (remainder:low) / 10, D = remainder
            STY   DEC_NUM+2
            ADDB  #'0'
            PSHB
            INC   DEC_DIGITS
            LDD   DEC_NUM
            BNE   pd_divide
            LDD   DEC_NUM+2
            BNE   pd_divide
pd_put      PULB
            JSR   put_char
            DEC   DEC_DIGITS
            BNE   pd_put
            RTS
