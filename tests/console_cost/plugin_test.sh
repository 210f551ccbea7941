#!/usr/bin/env bash
# plugin_test.sh PLUGIN: the console-cost plugin on small ARM programs whose counts are worked out
# by hand: instructions exactly, the ARM920T timing rules (taken branches, load-use interlocks,
# block transfers, multiplies, register shifts, a load that fails its condition, a load into the
# PC), and the caches' misses. Each program ends with "mov r7, #1; swi 0" (1 + 3 cycles).
set -euo pipefail
plugin=$(realpath "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

# expect NAME FIELD=VALUE... <<< assembly: assembles and runs the program (no cache penalty unless
# a penalty= field is given first) and compares the named totals.
expect() {
  local name=$1
  shift
  local penalty=0
  if [[ $1 == penalty=* ]]; then
    penalty=${1#penalty=}
    shift
  fi
  { echo '.arm'; echo '.text'; echo '.balign 32'; echo '.global _start'; echo '_start:'; cat
    echo 'mov r7, #1'; echo 'swi 0'; } >"$work/$name.s"
  arm-linux-gnueabi-as -march=armv4t "$work/$name.s" -o "$work/$name.o"
  arm-linux-gnueabi-ld -static "$work/$name.o" -o "$work/$name"
  # The exit status is whatever r0 holds.
  qemu-arm -plugin "$plugin,penalty=$penalty,totals=$work/$name.totals" "$work/$name" || true
  local field want got
  for pair in "$@"; do
    field=${pair%%=*}
    want=${pair#*=}
    got=$(awk -v field="$field" '{ for (i = 1; i < NF; i++) if ($i == field) print $(i + 1) }' \
      "$work/$name.totals")
    if [ "$got" != "$want" ]; then
      echo "FAIL $name: $field $got, worked out $want"
      failures=$((failures + 1))
    fi
  done
}

# A loop of 100 rounds: mov; 100 x (subs, bne), the branch taken 99 times (3 cycles) and falling
# through once (1); the exit.
expect loop instructions=203 core_cycles=403 <<'EOF_ASM'
  mov r0, #100
1: subs r0, r0, #1
  bne 1b
EOF_ASM

# A loaded register used by the next instruction stalls it a cycle; used later, not.
expect load_use instructions=6 core_cycles=9 <<'EOF_ASM'
  ldr r1, [sp]
  add r2, r1, #1
  ldr r3, [sp]
  add r4, r2, #1
EOF_ASM

# Four registers stored and loaded: a cycle each; the last one loaded used at once: one more.
expect block_transfer instructions=5 core_cycles=14 <<'EOF_ASM'
  stmfd sp!, {r0-r3}
  ldmfd sp!, {r0-r3}
  add r5, r3, #1
EOF_ASM

# MUL and MLA 3 cycles, UMULL 4, SMLAL 5 (two multiplier steps).
expect multiplies instructions=7 core_cycles=20 <<'EOF_ASM'
  mov r0, #3
  mul r1, r0, r0
  mla r2, r0, r0, r1
  umull r3, r4, r0, r0
  smlal r3, r4, r0, r0
EOF_ASM

# A shift by a register costs one more cycle; a load whose condition fails takes one cycle and
# stalls nothing.
expect shift_and_condition instructions=7 core_cycles=10 <<'EOF_ASM'
  mov r0, #1
  mov r1, r0, lsl r0
  cmp r0, #2
  ldreq r2, [sp]
  add r3, r2, #1
EOF_ASM

# BL, BX and B taken: 3 cycles each.
expect call_and_return instructions=5 core_cycles=13 <<'EOF_ASM'
  bl 1f
  b 2f
1: bx lr
2:
EOF_ASM

# A load into the PC: 1 + 4 cycles; the instruction after it is skipped.
expect load_pc instructions=5 core_cycles=11 <<'EOF_ASM'
  adr r0, 1f
  str r0, [sp, #-4]!
  ldr pc, [sp], #4
  mov r0, r0
1:
EOF_ASM

# Seven instructions and the literal in one 32-byte line: one instruction miss. Data: the literal's
# line, then two lines of the buffer; the words loaded again hit. The second load uses the address
# loaded just before: 7 + 1 + 2 more for the SWI = 10 cycles, and 4 misses of 44 cycles.
expect caches penalty=44 instructions=7 icache_misses=1 dcache_misses=3 cycles=186 <<'EOF_ASM'
  ldr r0, =buffer
  ldr r1, [r0]
  ldr r2, [r0, #4]
  ldr r3, [r0, #32]
  ldr r1, [r0]
.data
.balign 32
buffer: .space 64
.text
EOF_ASM

[ "$failures" -eq 0 ] && echo "the plugin's counts agree with the hand-worked ones"
exit "$failures"
