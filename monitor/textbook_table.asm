; textbook_table.asm - the routine table at $EE80 that HCS12 textbooks and
; evaluation boards document, at the addresses dbug12.inc names. A near
; entry is the routine's address (JSR [entry,PCR]); a far one its address,
; its program page and a spare byte (CALL [entry,PCR]). The routines are
; in textbook_routines.asm; the monitor's own table at $FE00 is apart.

TB_PAGE     EQU   $3F                   ; the routines' page: fixed flash

; The code placed before the table must end below it: ORG would
; otherwise write the table over it without a word.
#if *>=$EE81
#error the monitor's code runs into the table at $EE80
#endif

            ORG   $EE80
            FDB   tb_main               ; the monitor's start (far)
            FCB   TB_PAGE,0
            ORG   getchar
            FDB   tb_getchar
            ORG   putchar
            FDB   tb_putchar
            ORG   printf
            FDB   tb_printf
            ORG   getcmdline
            FDB   tb_getcmdline
            FCB   TB_PAGE,0
            ORG   sscanhex
            FDB   tb_sscanhex
            FCB   TB_PAGE,0
            ORG   isxdigit
            FDB   tb_isxdigit
            ORG   toupper
            FDB   tb_toupper
            ORG   isalpha
            FDB   tb_isalpha
            ORG   strlen
            FDB   tb_strlen
            ORG   strcpy
            FDB   tb_strcpy
            ORG   out2hex
            FDB   tb_out2hex
            FCB   TB_PAGE,0
            ORG   out4hex
            FDB   tb_out4hex
            FCB   TB_PAGE,0
            ORG   setuservector
            FDB   tb_setvector
            ORG   writeeebyte
            FDB   tb_writeee
            FCB   TB_PAGE,0
            ORG   eraseee
            FDB   tb_erasee
            FCB   TB_PAGE,0
            ORG   readmem
            FDB   tb_readmem
            FCB   TB_PAGE,0
            ORG   writemem
            FDB   tb_writemem
            FCB   TB_PAGE,0
