@ main940t.s: the second core's program, loaded at its address 0 and entered there from reset.
@ Vectors, start-up (stack and its two marker words), protection unit and caches, then the command
@ loop that drains the queue the main core fills. 244 bytes; the layout below is fixed.
@
@ Queue header at 0x100FE0 (eight words): write index, read index, pending, capacity, sent,
@ processed, ring as the main core sees it, ring as this core sees it. Each word has one writer.
@ Pending is sent - processed: the main core only ever adds to sent, this core only to processed,
@ so neither update can be lost. This core mirrors the difference into the pending word.

        .syntax unified
        .arm
        .text
        .global _start
        .weak   VKR_Arm940T_Main

        .equ HDR_READ,      0x04
        .equ HDR_PENDING,   0x08
        .equ HDR_CAPACITY,  0x0C
        .equ HDR_SENT,      0x10
        .equ HDR_PROCESSED, 0x14
        .equ HDR_RX_RING,   0x1C

@ 0x00: reset and every exception enter the start-up code.
_start:
        ldr     pc, lit_startup         @ reset
        ldr     pc, lit_startup         @ undefined instruction
        ldr     pc, lit_startup         @ software interrupt
        ldr     pc, lit_startup         @ prefetch abort
        ldr     pc, lit_startup         @ data abort
        ldr     pc, lit_startup         @ reserved
        ldr     pc, lit_startup         @ IRQ
        ldr     pc, lit_startup         @ FIQ

@ 0x20: stack below 1 MiB, with 0x1EE7FACE under 0xDEADBEEF on top of it.
startup:
        ldr     sp, lit_stack_top
        ldr     r1, lit_marker_high
        ldr     r0, lit_marker_low
        stmfd   sp!, {r0, r1}
        b       protection_setup

@ 0x34
lit_startup:      .word startup
lit_stack_top:    .word 0x000FFFFC
lit_marker_high:  .word 0xDEADBEEF
lit_marker_low:   .word 0x1EE7FACE
lit_queue_region: .word 0x00100019      @ base 0x100000, 8 KiB, enabled

@ 0x48: region 0 is all of memory, cached and buffered; region 1 is the queue area, neither, so
@ both cores see each other's writes there.
protection_setup:
        mov     r0, #0x3F               @ base 0, 4 GiB, enabled
        mcr     p15, 0, r0, c6, c0, 0
        mcr     p15, 0, r0, c6, c0, 1
        ldr     r0, lit_queue_region
        mcr     p15, 0, r0, c6, c1, 0
        mcr     p15, 0, r0, c6, c1, 1
        mov     r0, #1                  @ region 0 only
        mcr     p15, 0, r0, c2, c0, 0   @ data cacheable
        mcr     p15, 0, r0, c2, c0, 1   @ instruction cacheable
        mcr     p15, 0, r0, c3, c0, 0   @ write buffer
        mov     r0, #0xF                @ full access, regions 0 and 1
        mcr     p15, 0, r0, c5, c0, 0
        mcr     p15, 0, r0, c5, c0, 1
        mrc     p15, 0, r0, c1, c0, 0
        orr     r0, r0, #0x00000005     @ protection unit, data cache
        orr     r0, r0, #0x00001000     @ instruction cache
        orr     r0, r0, #0xC0000000     @ clocking mode
        mcr     p15, 0, r0, c1, c0, 0
        b       command_loop

@ 0x94: never left. r8 = header.
command_loop:
        mov     r8, #0x00100000
        orr     r8, r8, #0x00000FE0
wait_for_command:
        ldr     r1, [r8, #HDR_SENT]
        ldr     r2, [r8, #HDR_PROCESSED]
        subs    r3, r1, r2
        str     r3, [r8, #HDR_PENDING]
        beq     wait_for_command
        ldr     r4, [r8, #HDR_READ]
        ldr     r5, [r8, #HDR_RX_RING]
        ldr     r0, [r5, r4, lsl #2]
        bl      VKR_Arm940T_Main
        add     r4, r4, #1
        ldr     r6, [r8, #HDR_CAPACITY]
        cmp     r4, r6
        movhs   r4, #0
        str     r4, [r8, #HDR_READ]
        ldr     r2, [r8, #HDR_PROCESSED]
        add     r2, r2, #1
        str     r2, [r8, #HDR_PROCESSED]   @ frees the slot for the main core
        b       wait_for_command

@ The routine each command is handed to (r0); it does nothing here. A program linked with this one
@ may define its own, placed after the image.
        .balign 4
        .org    0xF0, 0
VKR_Arm940T_Main:
        bx      lr
