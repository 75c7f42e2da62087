// The keyword lists handed to the lexers, each whole with its own spacing.
#pragma once

namespace torva::keywords {

// Assembler instructions (keyword set 0 of the assembler lexer).
inline constexpr const char* kAsmInstructions =
    " aba abx aby adca adcb adda addb  addd anda andb andcc asla aslb asld asl asra asrb asr  "
    "bclr bset brclr brset bita bitb bcc bcs beq bge bgt bhi bhs ble blo bls blt bmi  bne bpl "
    "bra brn bsr bvc bvs  cba clc cli clv cpd cpx cpy clra clrb clr cmpa cmpb coma comb com  "
    "des dex dey daa deca decb dec eora eorb fdiv  ins inx iny inca incb inc idiv jmp jsr  "
    "ldaa ldab lsld lsrd ldd lds ldx ldy lsla lslb lsl lsra lsrb lsr  mul nega negb neg nop "
    "oraa orab  psha pshb pshx pshy pula pulb pulx puly  rola rolb rol rora rorb ror  sba sec "
    "sex sei sev stop staa stab std sts stx sty sbca sbcb suba subb subd swi  rti rts tab tap "
    "tpa tba tsx txs tys tsy test tsta tstb tst  wai xgdx xgdy  andcc orcc bgnd call cps dbeq "
    "dbne idivs ibeq ibne leas leax leay pshc pshd pulc puld  exg emul emuls ediv edivs emacs "
    "emaxd emaxm emind eminm etbl tfr  lbcc lbcs lbeq lbge lbgt lbhi lbhs lble lblo lbls lblt "
    "lbmi lbne  lbpl lbra lbrn lbvc lbvs tbeq tbne tbl trap  movb movw mem mina minm maxa maxm  "
    "rtc rev revw wav wavr  tstx tsty tstw suby subx sbex sbey sbed rorx rory rorw rolx roly "
    "rolw pshcw pulcw ory  orx negx negy negw lsrx lsry lsrw lslx lsly lslw incx incy incw  "
    "gsty gstx gsts gstd gstab gstaa gldy gldx glds gldd gldab gldaa eory eorx decx decy decw  "
    "cped cpes cpey cpex comx comy comw clrx clry clrw btas bitx bity asrx asry asrw aslx asly "
    "aslw  addy aded adex adey andx andy addx addy ";

// Assembler registers (keyword set 2 of the assembler lexer).
inline constexpr const char* kAsmRegisters =
    " a b d x y pc sp  spl ccr ccrl ccrh sph ccrw yl yh xh xl  ";

// C keywords (set 0) and the compiler's extensions (set 1).
inline constexpr const char* kCWords =
    " restrict inline  int char long float double  return  struct  union  typedef  enum  "
    "static  auto  sizeof  do  if  else  for  switch  while  short  extern  signed  case  "
    "goto  default  defined  register  unsigned  break  continue  void  volatile  const ";
inline constexpr const char* kCExtensions =
    " __asm  __nomangle  __interrupt  __pascal  __far  __farseg ";

// Linker files: commands (set 0) and section names (set 1).
inline constexpr const char* kLinkerCommands = " group  memory  layout  entry ";
inline constexpr const char* kLinkerSections = " init  text  data  bss  rodata  abs ";

// Ada reserved words (set 0).
inline constexpr const char* kAdaWords =
    " abort  abs  abstract  accept  access  aliased  all  and  array  at  begin  body  case  "
    "constant  declare  delay  delta  digits  do  else  elsif  end  entry  exit  for  "
    "function  generic  goto  if  in  is  limited  loop  mod  new  not  null  of  or  others  "
    "out  package  pragma  private  procedure  protected  raise  range  record  rem  renames  "
    "requeue  return  reverse  select  separate  subtype  tagged  task  terminate  then  type  "
    "until  use  when  while  with  xor ";

} // namespace torva::keywords
