* as12 style: the register block laid out with ORG 0 and RMB, the
* monitor's routines named by the program itself, an FCC string.
        org     0
PORTA   rmb     1
PORTB   rmb     1
DDRA    rmb     1
DDRB    rmb     1

putchar equ     $EE86
printf  equ     $EE88

        org     $1000
start   lds     #$3C80
        ldd     #title
        jsr     [printf,pcr]
        movb    #$ff,DDRB
        ldaa    #'0'
next    staa    PORTB
        tab
        jsr     [putchar,pcr]
        inca
        cmpa    #'9'
        bls     next
        ldab    #$0d
        jsr     [putchar,pcr]
        ldab    #$0a
        jsr     [putchar,pcr]
        swi
title   fcc     "digits: "
        fcb     0
        end
