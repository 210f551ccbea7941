// vkr_gp2xSync.cpp: waits for the display's vertical and horizontal blanks, seen as the sync bits
// of port B's pin levels. No time-out: a signal that never changes keeps the caller waiting.
#include "vkr_gp2xState.h"

static void WaitForLevel(uint16_t bit, bool high) {
  while (((GP2X_ReadReg16(GP2X_GPIOBPINLVL) & bit) != 0) != high) {
  }
}

// Waits for the bit to become `first`, then the other level.
static uint32_t WaitForEdge(uint16_t bit, bool first) {
  if (!GP2X_IsOpen()) return VKR_ERROR;
  WaitForLevel(bit, first);
  WaitForLevel(bit, !first);
  return VKR_OK;
}

uint32_t VKR_WaitVSync() { return WaitForEdge(GP2X_GPIOB_VSYNC, true); }
uint32_t VKR_WaitVSync2() { return WaitForEdge(GP2X_GPIOB_VSYNC, false); }
uint32_t VKR_WaitHSync() { return WaitForEdge(GP2X_GPIOB_HSYNC, true); }
uint32_t VKR_WaitHSync2() { return WaitForEdge(GP2X_GPIOB_HSYNC, false); }
