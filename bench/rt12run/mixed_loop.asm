; The mixed loop of rt12run_bench: loads, stores, ALU, indexed modes, a
; subroutine with a push and a pull, and a loop primitive.
        org $1000
outer   ldx #$2000
        ldy #$2100
        ldab #$10
inner   ldaa 1,x+
        adda #$03
        staa 1,y+
        cmpa #$80
        bcs skip
        anda #$7F
skip    jsr sub
        dbne b,inner
        bra outer
        org $1030
sub     psha
        ldaa $2000
        eora 0,y
        staa $2400
        pula
        rts
