@ example940t.s: a command routine for the second core that leaves a visible result, linked after
@ the second-core program in place of its empty routine. At 0x100000, in the uncached queue area:
@ the sum of all commands, then an order-sensitive hash (h = (h rotated left by 5) xor command).
        .syntax unified
        .arm
        .text
        .global VKR_Arm940T_Main
VKR_Arm940T_Main:
        mov     r12, #0x00100000
        ldr     r1, [r12]
        add     r1, r1, r0
        str     r1, [r12]
        ldr     r1, [r12, #4]
        eor     r1, r0, r1, ror #27
        str     r1, [r12, #4]
        bx      lr
