; CodeWarrior style for an S12X part: its derivative's registers by the
; chip's own file name, and a periodic interrupt timer set up (assembled
; only: the board's simulator has no PIT).
            ABSENTRY Entry
            INCLUDE 'MC9S12XDP512.INC'

            ORG   $4000
Entry:
            LDS   #RAMEnd+1
            MOVB  #$01, PITCE          ; channel 0
            MOVW  #999, PITLD0
            MOVB  #$81, PITCFLMT       ; PIT on, load
            BSET  PITINTE, #$01
            MOVB  #$0C, SCI0CR2        ; transmitter and receiver
Loop:       BRA   Loop
