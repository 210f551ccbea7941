// vkr_winClock.cpp: the desktop clock (SDL's milliseconds or a virtual clock for recording and
// tests) under the common clock operations, delays, the frame hook, and the vertical-blank waits
// that the desktop does not have.
#include <SDL.h>

#include "vkr_backendClock.h"
#include "vkr_winHost.h"
#include "vkr_winState.h"

// Clock source; main thread only. The virtual clock is read by no other thread.
static bool bVirtualClock = false;
static uint32_t ulVirtualNow = 0;

static VKR_WinFrameHook pfnFrameHook = nullptr;
static void* pFrameHookContext = nullptr;

uint32_t VKR_WinNowMS() { return bVirtualClock ? ulVirtualNow : SDL_GetTicks(); }

void VKR_WinSleepMS(uint32_t milliseconds) {
  if (!bVirtualClock) SDL_Delay(milliseconds);
}

void VKR_WinUseVirtualClock(uint32_t startMs) {
  bVirtualClock = true;
  ulVirtualNow = startMs;
}
void VKR_WinAdvanceVirtualClock(uint32_t milliseconds) { ulVirtualNow += milliseconds; }
void VKR_WinUseSystemClock() { bVirtualClock = false; }
bool VKR_WinClockIsVirtual() { return bVirtualClock; }

void VKR_WinSetFrameHook(VKR_WinFrameHook hook, void* context) {
  pfnFrameHook = hook;
  pFrameHookContext = context;
}
void VKR_WinRunFrameHook() {
  if (pfnFrameHook) pfnFrameHook(pFrameHookContext);
}

bool LowLevel_ReadClockMS(uint32_t* milliseconds) {
  *milliseconds = VKR_WinNowMS();
  return true;
}

uint32_t VKR_DelayMS(uint32_t milliseconds) {
  VKR_WinSleepMS(milliseconds);
  return VKR_OK;
}

// The desktop has no refresh of its own: the demo paces itself by its clock and the composition's
// short sleep. A web page has one, the browser's animation frames, and waits for it; a second
// core that runs on the caller has its turn first.
uint32_t VKR_WaitVSync() {
  VKR_WinRunPendingSecondCoreCommands();
  VKR_WinWaitForDisplayFrame();
  return VKR_OK;
}
uint32_t VKR_WaitVSync2() { return VKR_OK; }
uint32_t VKR_WaitHSync() { return VKR_OK; }

uint32_t VKR_GetCurrentTVFieldOutput(int* field) {
  if (!field) return VKR_BAD_ARGUMENT;
  const DISP_Output output = VKR_WinOutput();
  if (output == DISP_OUTPUT_LCD) return VKR_NOT_SUPPORTED;
  const uint32_t now = VKR_WinNowMS();
  *field = output == DISP_OUTPUT_NTSC ? (now % 33 >= 16) : (now % 40 >= 20);
  return VKR_OK;
}
