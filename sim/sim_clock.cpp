// sim_clock.cpp: the simulated console's time and its free-running timer (7373 counts a
// millisecond, wrapping at 32 bits). Virtual time moves by a fixed cost per register access and
// jumps over idle polls; real-time mode follows the host's clock and sleeps through idle polls.
#include <time.h>

#include "sim_state.h"

namespace {

int64_t HostNowNs() {
  timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  return int64_t{now.tv_sec} * 1000000000 + now.tv_nsec;
}

uint64_t HostElapsedNs() {
  const int64_t elapsed = HostNowNs() - g_sim.clock.hostStartNs;
  return elapsed > 0 ? static_cast<uint64_t>(elapsed) : 0;
}

// The timer's count without the 32-bit wrap.
uint64_t CountAt(uint64_t ns) {
  return g_sim.config.timerStart + ns * GP2X_TCOUNT_PER_MS / SIM_NS_PER_MS;
}

}  // namespace

void SimClock_PowerOn() { g_sim.clock.hostStartNs = HostNowNs(); }

void SimClock_FollowHost() { SimClock_MoveTo(HostElapsedNs()); }

void SimClock_SleepUntil(uint64_t ns) {
  const uint64_t host = HostElapsedNs();
  if (ns > host) {
    const uint64_t wait = ns - host;
    const timespec pause = {static_cast<time_t>(wait / 1000000000),
                            static_cast<long>(wait % 1000000000)};
    nanosleep(&pause, nullptr);
  }
  SimClock_FollowHost();
}

// Short stretches: real-time mode spins on the host's clock, as sleeping would overshoot them.
void SimClock_Spend(uint64_t ns) {
  if (!g_sim.config.realTime) {
    SimClock_MoveTo(g_sim.clock.nowNs + ns);
    return;
  }
  const uint64_t until = HostElapsedNs() + ns;
  while (HostElapsedNs() < until) {
  }
  SimClock_FollowHost();
}

// The next time the millisecond reading (count / 7373) changes: a count that is a multiple of 7373,
// or the wrap to 0.
uint64_t SimClock_NextMillisecondNs() {
  const uint64_t count = CountAt(g_sim.clock.nowNs);
  const uint64_t low = count & 0xFFFFFFFFu;
  const uint64_t next = std::min<uint64_t>((low / GP2X_TCOUNT_PER_MS + 1) * GP2X_TCOUNT_PER_MS,
                                           uint64_t{1} << 32);
  const uint64_t target = count - low + next - g_sim.config.timerStart;
  return (target * SIM_NS_PER_MS + GP2X_TCOUNT_PER_MS - 1) / GP2X_TCOUNT_PER_MS;
}

uint64_t SimClock_NextTimerTickNs() {
  const uint64_t ns = SimClock_NextMillisecondNs();
  g_sim.clock.lastPollJumpNs = ns;
  g_sim.clock.timerWaitJumped = true;
  return ns;
}

uint32_t SimClock_TimerCount() { return static_cast<uint32_t>(CountAt(g_sim.clock.nowNs)); }

uint64_t SimClock_MillisecondReading() { return CountAt(g_sim.clock.nowNs) / GP2X_TCOUNT_PER_MS; }

// From the PLL value in force (it settles at once on the value set) and the divider.
uint64_t SimClock_CpuHz() {
  return uint64_t{GP2X_CPUClock100Hz(g_sim.reg[GP2X_FPLLSETVREG >> 1], g_sim.reg[GP2X_SYSCSETREG >> 1])} * 100;
}

// A busy-wait on the timer has ended: on the virtual clock the display's frames start over from
// where it ended, so frames begin on the same whole milliseconds as the program's own clock.
void SimClock_TimerWaitEnded() {
  g_sim.clock.timerWaitJumped = false;
  if (!g_sim.config.realTime) SimTiming_Reanchor(g_sim.clock.lastPollJumpNs);
}

uint64_t SimNowNs() {
  if (g_sim.poweredOn && g_sim.config.realTime) SimClock_FollowHost();
  return g_sim.clock.nowNs;
}

void SimAdvanceNs(uint64_t nanoseconds) {
  if (!g_sim.poweredOn) return;
  SimIO_Reset();
  if (!g_sim.config.realTime) SimClock_MoveTo(g_sim.clock.nowNs + nanoseconds);
}

uint32_t SimTimerCount() {
  SimNowNs();
  return SimClock_TimerCount();
}

void SimSetTimerCount(uint32_t count) {
  if (!g_sim.poweredOn) return;
  SimIO_Reset();
  g_sim.config.timerStart = count - g_sim.clock.nowNs * GP2X_TCOUNT_PER_MS / SIM_NS_PER_MS;
}
