// vkr_gp2xBusyWait.h: the hardware back end's busy-waits as the console that runs them sees them.
// On the console the delay loop is the loop itself and a wait's turn is nothing; on the PC the
// simulated console lets the time the loop takes on the console pass on its own clock, so a
// transfer paced by the loop keeps the console's pace there too, and a wait on shared memory lets
// the second core run.
#pragma once

#include <cstdint>

// Cycles one iteration of the delay loop takes on the console's core at -O2: load, then its use
// (2 cycles with the interlock), add, store, load and compare (3), a taken branch (3). At 200 MHz
// a loop of 200 iterations lasts 10 us.
inline constexpr uint32_t GP2X_DELAY_LOOP_CYCLES = 10;

#if defined(VKR_GP2X_CONSOLE)

// One turn of a busy-wait on the second core's queue in shared memory, which no register shows.
inline void GP2X_SharedMemoryPollTurn() {}

// A busy loop over a counter the compiler must keep: its length follows the processor clock.
inline void GP2X_DelayLoop(uint32_t iterations) {
  volatile uint32_t count = 0;
  while (count < iterations) count = count + 1;
}

#else  // the PC: the simulated console answers (sim/)

void GP2X_DelayLoop(uint32_t iterations);
// The second core runs on the console's clock: a turn lets time pass to its next step.
void GP2X_SharedMemoryPollTurn();

#endif
