 org $10000
 fcb "abc
 ldaa [,x
 equ
x equ x+1
 ds $7fffffff
 #if
#endif
#endif
