// vkr_gp2xState.h: the hardware back end's process-wide state. vkr_lowLevelGP2X.cpp owns it and
// sets it up at start-up; the unit files read it. Main thread only, no locks.
#pragma once

#include <array>
#include <cstdint>

#include "vkr_gp2xAccess.h"
#include "vkr_gp2xRegisters.h"
#include "vkr_lowLevel.h"

// Descriptors: -1 while closed.
extern int g_nMemFD;
extern int g_nTouchScreenFD;
extern std::array<int, 4> g_nHIDFD;

// Windows other than the register and blitter windows (vkr_gp2xAccess.h): null while closed.
extern uint8_t* g_GP2X_VIDEO_BASE_PTR;
extern uint32_t g_ulGP2X_VIDEO_PHYS_ADDR;
extern volatile uint32_t* g_pGP2X_DUALCORE_MEM;

extern uint32_t g_ulFirmwareVersion;   // major << 16 | minor << 8 | patch
extern uint32_t g_ulHardwareModel;     // 0, or 0x100 from firmware 4.0.0 on
inline constexpr uint32_t GP2X_MODEL_FIRST = 0;
inline constexpr uint32_t GP2X_MODEL_SECOND = 0x100;  // no diagonals, no stick press, no LED
inline constexpr uint32_t GP2X_FIRMWARE_OF_SECOND_MODEL = 0x040000;  // 4.0.0 and later

extern uint32_t g_ulDISPLAY_MODE;
extern int g_nColorBitDepth;
extern int g_nScreenSizeX, g_nScreenSizeY;

// True between a successful start-up and teardown: every window is mapped. Operations that reach
// the hardware answer VKR_ERROR (or do nothing) otherwise.
inline bool GP2X_IsOpen() { return g_pGP2X_REG16 != nullptr; }

// The millisecond clock (vkr_gp2xClock.cpp): one reading; a busy-wait of n milliseconds.
uint32_t GP2X_ReadClockMS();
void GP2X_WaitMS(uint32_t milliseconds);
// Resets the clock's wrap state at start-up.
void GP2X_ResetClock();

// Input devices (vkr_gp2xInput.cpp): close every open slot; open event devices 0 to 3 into their
// slots, stopping at the first that does not open.
void GP2X_CloseInputDevices();
void GP2X_OpenInputDevices();
inline constexpr uint32_t GP2X_INPUT_PROBE_WAIT_MS = 20;
