@ job940t.s: the second core's job, run once a command: counts down from the command's value, a
@ stand-in for work that takes time, and adds the value to a total at 0x100000 (the uncached
@ queue area, where the main core could read it on the console).
        .syntax unified
        .arm
        .text
        .global VKR_Arm940T_Main
VKR_Arm940T_Main:
        mov     r1, r0
count_down:
        subs    r1, r1, #1
        bhi     count_down
        mov     r12, #0x00100000
        ldr     r1, [r12]
        add     r1, r1, r0
        str     r1, [r12]
        bx      lr
