// sim_busyWait.cpp: the hardware back end's busy-waits on the simulated console: a delay loop takes
// the time it would on the console's core at the processor clock the registers set; a wait on the
// millisecond clock jumps to its next tick; a wait on an encoder whose answer only time can change
// jumps to the next millisecond; a wait on the second core's queue lets the second core run.
#include "sim_state.h"
#include "vkr_gp2xBusyWait.h"

void GP2X_DelayLoop(uint32_t iterations) {
  if (!g_sim.poweredOn) return;
  const uint64_t cycles = uint64_t{iterations} * GP2X_DELAY_LOOP_CYCLES;
  const uint64_t hz = SimClock_CpuHz();
  SimClock_Spend(hz ? (cycles * 1000000000 + hz - 1) / hz : 0);
}

// A wait on the second core jumps to its next step; with the core held nothing can end it but the
// program's own clock, so it costs what a read of shared memory does.
void GP2X_SharedMemoryPollTurn() {
  if (!g_sim.poweredOn) return;
  SimIO_Reset();
  const uint64_t due = g_sim.clock.secondCoreDueNs;
  if (due != UINT64_MAX) SimClock_JumpTo(due);
  else SimClock_Spend(SIM_ACCESS_COST_NS);
}

void GP2X_WaitingForClockTick() {
  if (!g_sim.poweredOn) return;
  SimClock_JumpTo(SimClock_NextTimerTickNs());
}

void GP2X_WaitingForEncoder() {
  if (!g_sim.poweredOn) return;
  if (SimIO_EncoderAnswerStands()) SimClock_JumpTo(SimClock_NextMillisecondNs());
}
