 option xgate
 org $1000
l1 ldw r1,#$1234
 bra l1
 add r1,r2,r3
 ldb r1,(r2,#-1)
 option hcs12x
 tfr xh,a
 movb [d,x],a,y
#if 1
 fcb 1,2,300
#else
#endif
 include "f.inc"
 end
