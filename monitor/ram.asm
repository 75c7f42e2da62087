; ram.asm - the monitor's RAM, $3C80-$3FFF: its stack, its variables and the
; user vector slots. Only names here: reserving storage with RMB would put
; zero bytes for RAM into the monitor image.

MON_RAM     EQU   USERTOP       ; $3C80, the first byte that is the monitor's
MON_STACK   EQU   $3D00         ; its stack: $3C80-$3CFF, growing down from here

; The user register set, kept in the order of an interrupt frame (CCR, B,
; A, X, Y, PC), so that G and the SWI entry move it as one block; the
; stack pointer follows.
U_CCR       EQU   $3D00
U_B         EQU   $3D01
U_A         EQU   $3D02
U_X         EQU   $3D03         ; 2 bytes
U_Y         EQU   $3D05         ; 2 bytes
U_PC        EQU   $3D07         ; 2 bytes
U_SP        EQU   $3D09         ; 2 bytes
FRAME_SIZE  EQU   9             ; bytes an interrupt, SWI or RTI moves

; Command line
MON_FLAGS   EQU   $3D0B         ; bit F_CR: the last line ended with CR
F_CR        EQU   $01           ;   (an LF right after it is not a new line)
LINE_LEN    EQU   $3D0C         ; characters in LINE_BUF
NUM         EQU   $3D0D         ; 2 bytes: the number being read
DIGIT       EQU   $3D0F         ; a hex digit's value while it is shifted in

; MD and MM
ARG_FROM    EQU   $3D10         ; 2 bytes: first address
ARG_TO      EQU   $3D12         ; 2 bytes: last address (MD)
MD_COUNT    EQU   $3D14         ; bytes still to show on this MD line
WRITE_FAIL  EQU   $3D15         ; non-zero once a byte did not read back
ERR_ADDR    EQU   $3D16         ; 4 bytes: address of the first such byte

; Interrupts
VEC_NUM     EQU   $3D1A         ; 2 bytes: vector of an unhandled interrupt

; L: the record being read and the load as a whole
REC_TYPE    EQU   $3D1C         ; the character after S
REC_BAD     EQU   $3D1D         ; non-zero: a character that is no hex digit
REC_LEN     EQU   $3D1E         ; 2 bytes: bytes decoded into REC_BUF so far
ADDR_LEN    EQU   $3D20         ; address bytes of this record type
LAST_END    EQU   $3D21         ; CR or LF: how the last record line ended
REC_ADDR    EQU   $3D22         ; 4 bytes: address of the next data byte
LOADED      EQU   $3D26         ; 4 bytes: bytes written by this load
SAVED_PAGE  EQU   $3D2A         ; PPAGE before the record was written
DATA_LEFT   EQU   $3D2B         ; data bytes of the record still to write
DEC_NUM     EQU   $3D2C         ; 4 bytes: number being printed in decimal
DEC_DIGITS  EQU   $3D30         ; digits of it on the stack

LINE_BUF    EQU   $3D40         ; the command line in upper case, ended by 0
LINE_MAX    EQU   72            ; characters a line holds
REC_BUF     EQU   $3E00         ; one record decoded: count, address, data, checksum
REC_MAX     EQU   256

; The user vector slots: the handler address for vector V is kept at
; V-RAMVEC ($3F80-$3FFD). Reset clears them all.
SLOTS       EQU   $FF80-RAMVEC
SLOTS_END   EQU   $10000-RAMVEC
