; Copy the switches at $600 to the LEDs at $400.
INPORT  EQU   $600
OUTPORT EQU   $400
        ORG   $1000
COPY    LDAA  INPORT
        STAA  OUTPORT
        BRA   COPY
