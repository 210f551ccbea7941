// vkr_gp2xClock.cpp: the millisecond clock on the controller's free-running timer (never backwards,
// corrected across the timer's wrap) under the common clock operations, and the busy-wait delays
// every wait of the hardware back end uses.
#include "vkr_backendClock.h"
#include "vkr_gp2xBusyWait.h"
#include "vkr_gp2xState.h"

// Clock state; main thread only. Readings from two threads at once are not
// supported.
static uint32_t g_ulLastTimeMS = 0;   // last raw reading
static uint32_t g_ulTimeWrapMS = 0;   // added for every wrap of the timer seen so far

// A reading less than a second behind the last one is jitter, not a wrap.
static constexpr uint32_t kBackwardToleranceMS = 1000;

void GP2X_ResetClock() {
  g_ulLastTimeMS = 0;
  g_ulTimeWrapMS = 0;
}

uint32_t GP2X_ReadClockMS() {
  uint32_t t = GP2X_ReadReg32(GP2X_TCOUNT) / GP2X_TCOUNT_PER_MS;
  if (t < g_ulLastTimeMS) {
    if (t + kBackwardToleranceMS > g_ulLastTimeMS)
      t = g_ulLastTimeMS;
    else
      g_ulTimeWrapMS += GP2X_TCOUNT_WRAP_MS;
  }
  g_ulLastTimeMS = t;
  return t + g_ulTimeWrapMS;
}

void GP2X_WaitMS(uint32_t milliseconds) {
  const uint32_t target = GP2X_ReadClockMS() + milliseconds;
  while (GP2X_ReadClockMS() < target) GP2X_WaitingForClockTick();
}

bool LowLevel_ReadClockMS(uint32_t* milliseconds) {
  if (!GP2X_IsOpen()) return false;
  *milliseconds = GP2X_ReadClockMS();
  return true;
}

uint32_t VKR_DelayMS(uint32_t milliseconds) {
  if (!GP2X_IsOpen()) return VKR_ERROR;
  GP2X_WaitMS(milliseconds);
  return VKR_OK;
}
