// vkr_gp2xBusyWait.h: the hardware back end's busy-waits as the console that runs them sees them.
// On the console the delay loop is the loop itself and what a wait waits for is nothing to tell;
// on the PC the simulated console lets the time the loop takes on the console pass on its own
// clock, so a transfer paced by the loop keeps the console's pace there too, and a wait told what
// it waits for jumps there (the console itself never guesses at a read of the timer).
#pragma once

#include <cstdint>

// Cycles one iteration of the delay loop takes on the console's core at -O2: load, then its use
// (2 cycles with the interlock), add, store, load and compare (3), a taken branch (3). At 200 MHz
// a loop of 200 iterations lasts 10 us.
inline constexpr uint32_t GP2X_DELAY_LOOP_CYCLES = 10;

#if defined(VKR_GP2X_CONSOLE)

// One turn of a busy-wait on the second core's queue in shared memory, which no register shows.
inline void GP2X_SharedMemoryPollTurn() {}
// The millisecond clock has not reached its target yet: the next reading is after its next tick.
inline void GP2X_WaitingForClockTick() {}
// An encoder poll answered what it answered before; the wait goes on until the answer changes or
// the wait's time runs out on the millisecond clock.
inline void GP2X_WaitingForEncoder() {}

// A busy loop over a counter the compiler must keep: its length follows the processor clock.
inline void GP2X_DelayLoop(uint32_t iterations) {
  volatile uint32_t count = 0;
  while (count < iterations) count = count + 1;
}

#else  // the PC: the simulated console answers (sim/)

void GP2X_DelayLoop(uint32_t iterations);
// The second core runs on the console's clock: a turn lets time pass to its next step.
void GP2X_SharedMemoryPollTurn();
// The clock jumps to the timer's next millisecond.
void GP2X_WaitingForClockTick();
// When the encoder's answer can change only with time (a silent encoder, a plain register), the
// clock jumps to the next millisecond; an answer with a known change has jumped there already.
void GP2X_WaitingForEncoder();

#endif
