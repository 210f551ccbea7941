// sim_arm940Unemulated.cpp: the simulated console's second core where its emulator is not built (on
// an emulated ARM host, which has no ARM build of it): held and paused by the same two registers,
// but released it faults at its first instruction, as a core that cannot run anything does.
#include "sim_arm940.h"
#include "sim_state.h"

bool SimArm940_Open(uint8_t* memory, uint32_t size) {
  SimSecondCore& core = g_sim.secondCore;
  if (core.open || !memory || size == 0 || size % 4096 != 0) return false;
  core = SimSecondCore{};
  core.open = true;
  return true;
}

void SimArm940_Control(uint16_t dualCtrl940, uint16_t sysClkEn) {
  SimSecondCore& core = g_sim.secondCore;
  if (!core.open) return;
  const bool held = (dualCtrl940 & 0x0080) != 0;
  if (core.held && !held) ++core.releases;
  core.held = held;
  core.clock = (sysClkEn & 0x0001) != 0;
}

void SimArm940_CatchUp() {}

SimArm940Status SimArm940_GetStatus() {
  const SimSecondCore& core = g_sim.secondCore;
  if (core.held) return {SimArm940Run::Held, 0, core.releases};
  return {core.clock ? SimArm940Run::Faulted : SimArm940Run::Paused, 0, core.releases};
}

void SimArm940_Close() { g_sim.secondCore = SimSecondCore{}; }
