// sim_arm940Unemulated.cpp: the simulated console's second core where its emulator is not built (on
// an emulated ARM host, which has no ARM build of it): held and paused by the same two registers,
// but released it faults at its first instruction, as a core that cannot run anything does.
#include "sim_arm940.h"

// The core's state between Open and Close. Main thread only (no thread runs it).
static bool g_bArm940Open = false;
static bool g_bArm940Held = true;
static bool g_bArm940Clock = true;
static uint32_t g_ulArm940Releases = 0;

bool SimArm940_Open(uint8_t* memory, uint32_t size) {
  if (g_bArm940Open || !memory || size == 0 || size % 4096 != 0) return false;
  g_bArm940Open = true;
  g_bArm940Held = true;
  g_bArm940Clock = true;
  g_ulArm940Releases = 0;
  return true;
}

void SimArm940_Control(uint16_t dualCtrl940, uint16_t sysClkEn) {
  if (!g_bArm940Open) return;
  const bool held = (dualCtrl940 & 0x0080) != 0;
  if (g_bArm940Held && !held) ++g_ulArm940Releases;
  g_bArm940Held = held;
  g_bArm940Clock = (sysClkEn & 0x0001) != 0;
}

void SimArm940_CatchUp() {}

SimArm940Status SimArm940_GetStatus() {
  if (g_bArm940Held) return {SimArm940Run::Held, 0, g_ulArm940Releases};
  return {g_bArm940Clock ? SimArm940Run::Faulted : SimArm940Run::Paused, 0, g_ulArm940Releases};
}

void SimArm940_Close() { g_bArm940Open = false; }
