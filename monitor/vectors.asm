; vectors.asm - the interrupt vectors and their way to the user's handlers.
;
; Every vector from $FF80 to $FFFC except SWI leads through a RAM slot at
; (vector - RAMVEC): a program installs a handler by storing its address
; there, e.g. MOVW #TICK,VRTI-RAMVEC puts it into $3FF0. A slot holding 0
; makes the monitor print "Unhandled interrupt $XXXX" with the vector and
; prompt again. SWI returns to the monitor; reset starts it.
;
; Each vector points to its own two-byte stub, a BSR to vdispatch, in
; vector order: the return address the BSR leaves tells which vector it
; was. vdispatch keeps every register (the flags aside), so a TRAP handler
; still sees the caller's A, B, X and Y, and enters the handler with the
; interrupt frame on top of the stack, as the vector itself would; it
; borrows six bytes of the interrupted program's stack meanwhile.

            ORG   $FE80
VSTUBS
v_ff80      BSR   vdispatch
v_ff82      BSR   vdispatch
v_ff84      BSR   vdispatch
v_ff86      BSR   vdispatch
v_ff88      BSR   vdispatch
v_ff8a      BSR   vdispatch
v_ff8c      BSR   vdispatch
v_ff8e      BSR   vdispatch
v_ff90      BSR   vdispatch
v_ff92      BSR   vdispatch
v_ff94      BSR   vdispatch
v_ff96      BSR   vdispatch
v_ff98      BSR   vdispatch
v_ff9a      BSR   vdispatch
v_ff9c      BSR   vdispatch
v_ff9e      BSR   vdispatch
v_ffa0      BSR   vdispatch
v_ffa2      BSR   vdispatch
v_ffa4      BSR   vdispatch
v_ffa6      BSR   vdispatch
v_ffa8      BSR   vdispatch
v_ffaa      BSR   vdispatch
v_ffac      BSR   vdispatch
v_ffae      BSR   vdispatch
v_ffb0      BSR   vdispatch
v_ffb2      BSR   vdispatch
v_ffb4      BSR   vdispatch
v_ffb6      BSR   vdispatch
v_ffb8      BSR   vdispatch
v_ffba      BSR   vdispatch
v_ffbc      BSR   vdispatch
v_ffbe      BSR   vdispatch
v_ffc0      BSR   vdispatch
v_ffc2      BSR   vdispatch
v_ffc4      BSR   vdispatch
v_ffc6      BSR   vdispatch           ; clock module, second interrupt
v_ffc8      BSR   vdispatch
v_ffca      BSR   vdispatch
v_ffcc      BSR   vdispatch
v_ffce      BSR   vdispatch
v_ffd0      BSR   vdispatch
v_ffd2      BSR   vdispatch
v_ffd4      BSR   vdispatch           ; serial interface 1
v_ffd6      BSR   vdispatch           ; serial interface 0
v_ffd8      BSR   vdispatch
v_ffda      BSR   vdispatch
v_ffdc      BSR   vdispatch
v_ffde      BSR   vdispatch
v_ffe0      BSR   vdispatch
v_ffe2      BSR   vdispatch
v_ffe4      BSR   vdispatch
v_ffe6      BSR   vdispatch
v_ffe8      BSR   vdispatch
v_ffea      BSR   vdispatch
v_ffec      BSR   vdispatch
v_ffee      BSR   vdispatch
v_fff0      BSR   vdispatch           ; real-time interrupt
v_fff2      BSR   vdispatch           ; IRQ
v_fff4      BSR   vdispatch           ; XIRQ
v_fff6      BSR   vdispatch           ; SWI: not used, SWI has its own entry
v_fff8      BSR   vdispatch           ; TRAP
v_fffa      BSR   vdispatch           ; watchdog (COP) failure
v_fffc      BSR   vdispatch           ; clock monitor failure

vdispatch   PSHD
            PSHX
            LDD   4,SP                  ; the stub's address + 2
            SUBD  #VSTUBS+2-SLOTS       ; its vector's slot
            TFR   D,X
            LDX   0,X
            BEQ   vd_unhandled
            STX   4,SP                  ; the handler replaces the return address
            PULX
            PULD
            RTS                         ; into the handler, the frame on top

; No handler: report the vector, keep the interrupted program's registers
; as the user register set (RD shows where it was), and prompt again.
vd_unhandled
            LDD   4,SP
            ADDD  #$FF80-VSTUBS-2       ; the vector
            STD   VEC_NUM
            LEAX  6,SP                  ; the interrupt frame
            JSR   save_user
            LDS   #MON_STACK
            LDX   #TXT_UNHANDLED
            JSR   print_line
            LDD   VEC_NUM
            JSR   put_hex16
            JMP   main_loop

; The vectors, $FF80-$FFFF.
            ORG   $FF80
            FDB   v_ff80
            FDB   v_ff82
            FDB   v_ff84
            FDB   v_ff86
            FDB   v_ff88
            FDB   v_ff8a
            FDB   v_ff8c
            FDB   v_ff8e
            FDB   v_ff90
            FDB   v_ff92
            FDB   v_ff94
            FDB   v_ff96
            FDB   v_ff98
            FDB   v_ff9a
            FDB   v_ff9c
            FDB   v_ff9e
            FDB   v_ffa0
            FDB   v_ffa2
            FDB   v_ffa4
            FDB   v_ffa6
            FDB   v_ffa8
            FDB   v_ffaa
            FDB   v_ffac
            FDB   v_ffae
            FDB   v_ffb0
            FDB   v_ffb2
            FDB   v_ffb4
            FDB   v_ffb6
            FDB   v_ffb8
            FDB   v_ffba
            FDB   v_ffbc
            FDB   v_ffbe
            FDB   v_ffc0
            FDB   v_ffc2
            FDB   v_ffc4
            FDB   v_ffc6              ; $FFC6 clock module, second interrupt
            FDB   v_ffc8
            FDB   v_ffca
            FDB   v_ffcc
            FDB   v_ffce
            FDB   v_ffd0
            FDB   v_ffd2
            FDB   v_ffd4              ; $FFD4 serial interface 1
            FDB   v_ffd6              ; $FFD6 serial interface 0
            FDB   v_ffd8
            FDB   v_ffda
            FDB   v_ffdc
            FDB   v_ffde
            FDB   v_ffe0
            FDB   v_ffe2
            FDB   v_ffe4
            FDB   v_ffe6
            FDB   v_ffe8
            FDB   v_ffea
            FDB   v_ffec
            FDB   v_ffee
            FDB   v_fff0              ; $FFF0 real-time interrupt
            FDB   v_fff2              ; $FFF2 IRQ
            FDB   v_fff4              ; $FFF4 XIRQ
            FDB   swi_entry           ; $FFF6 SWI
            FDB   v_fff8              ; $FFF8 TRAP
            FDB   v_fffa              ; $FFFA watchdog (COP) failure
            FDB   v_fffc              ; $FFFC clock monitor failure
            FDB   reset               ; $FFFE reset
