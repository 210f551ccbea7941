// vkr_frameClock.cpp: the clock's operations and the frame count, the same in both back ends over
// the back end's millisecond clock: the time, and frame time counted from the first reading after
// a reset.
#include "vkr_backendClock.h"
#include "vkr_lowLevel.h"

// The frame count and the base of VKR_GetFrameTime; main thread only. Start-up clears the count.
uint32_t g_ulGP2X_FRAME_COUNT = 0;
static uint32_t ulBaseFrameTime = 0;

uint32_t VKR_GetTime(uint32_t* milliseconds) {
  if (!milliseconds) return VKR_BAD_ARGUMENT;
  return LowLevel_ReadClockMS(milliseconds) ? VKR_OK : VKR_ERROR;
}

uint32_t VKR_ResetFrameTime() {
  g_ulGP2X_FRAME_COUNT = 0;
  return VKR_OK;
}

uint32_t VKR_GetFrameCount(uint32_t* count) {
  if (!count) return VKR_BAD_ARGUMENT;
  *count = g_ulGP2X_FRAME_COUNT;
  return VKR_OK;
}

uint32_t VKR_GetFrameTime(uint32_t* milliseconds) {
  if (!milliseconds) return VKR_BAD_ARGUMENT;
  uint32_t now = 0;
  if (!LowLevel_ReadClockMS(&now)) return VKR_ERROR;
  if (g_ulGP2X_FRAME_COUNT == 0) ulBaseFrameTime = now;
  *milliseconds = now - ulBaseFrameTime;
  ++g_ulGP2X_FRAME_COUNT;
  return VKR_OK;
}
