// objc_msgSend and objc_msgSendSuper over the GCC runtime's lookup, for x86-64 System V.
// The backend casts them to each send's own signature, so they must leave every argument
// where the caller put it: the register arguments are saved around the lookup, and the
// method is reached with a jump, so that arguments on the stack (a CGRect) stay in place
// and the method returns straight to the sender.

    .text

// Saves the argument registers (and %rax, the vector count of a variadic call) in a
// frame that keeps the stack 16-byte aligned for the lookup.
.macro SAVE_ARGUMENTS
    pushq   %rbp
    .cfi_def_cfa_offset 16
    .cfi_offset %rbp, -16
    movq    %rsp, %rbp
    .cfi_def_cfa_register %rbp
    subq    $192, %rsp
    movq    %rdi, 0(%rsp)
    movq    %rsi, 8(%rsp)
    movq    %rdx, 16(%rsp)
    movq    %rcx, 24(%rsp)
    movq    %r8, 32(%rsp)
    movq    %r9, 40(%rsp)
    movq    %rax, 48(%rsp)
    movaps  %xmm0, 64(%rsp)
    movaps  %xmm1, 80(%rsp)
    movaps  %xmm2, 96(%rsp)
    movaps  %xmm3, 112(%rsp)
    movaps  %xmm4, 128(%rsp)
    movaps  %xmm5, 144(%rsp)
    movaps  %xmm6, 160(%rsp)
    movaps  %xmm7, 176(%rsp)
.endm

.macro RESTORE_ARGUMENTS
    movq    0(%rsp), %rdi
    movq    8(%rsp), %rsi
    movq    16(%rsp), %rdx
    movq    24(%rsp), %rcx
    movq    32(%rsp), %r8
    movq    40(%rsp), %r9
    movq    48(%rsp), %rax
    movaps  64(%rsp), %xmm0
    movaps  80(%rsp), %xmm1
    movaps  96(%rsp), %xmm2
    movaps  112(%rsp), %xmm3
    movaps  128(%rsp), %xmm4
    movaps  144(%rsp), %xmm5
    movaps  160(%rsp), %xmm6
    movaps  176(%rsp), %xmm7
    leave
    .cfi_def_cfa %rsp, 8
.endm

    .globl  objc_msgSend
    .type   objc_msgSend, @function
objc_msgSend:
    .cfi_startproc
    // GCC's lookup answers nil a method that returns its receiver, which leaves the
    // floating-point result undefined; a message to nil answers zero in every register.
    testq   %rdi, %rdi
    jz      .Lnil
    SAVE_ARGUMENTS
    call    objc_msg_lookup@PLT
    movq    %rax, %r11
    RESTORE_ARGUMENTS
    jmp     *%r11
.Lnil:
    xorl    %eax, %eax
    xorl    %edx, %edx
    xorps   %xmm0, %xmm0
    xorps   %xmm1, %xmm1
    ret
    .cfi_endproc
    .size   objc_msgSend, .-objc_msgSend

// %rdi is a struct objc_super { id receiver; Class superClass; }: the method is looked up
// from superClass and called with the receiver itself as self.
    .globl  objc_msgSendSuper
    .type   objc_msgSendSuper, @function
objc_msgSendSuper:
    .cfi_startproc
    cmpq    $0, (%rdi)
    je      .Lnil
    SAVE_ARGUMENTS
    call    objc_msg_lookup_super@PLT
    movq    %rax, %r11
    RESTORE_ARGUMENTS
    movq    (%rdi), %rdi
    jmp     *%r11
    .cfi_endproc
    .size   objc_msgSendSuper, .-objc_msgSendSuper

    .section .note.GNU-stack, "", @progbits
