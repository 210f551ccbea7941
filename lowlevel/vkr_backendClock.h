// vkr_backendClock.h: between the common clock operations and the back end they are linked with:
// the back end's millisecond clock, and the frame count its start-up clears.
#pragma once

#include <cstdint>

// The back end's clock in milliseconds; false, nothing written, when it cannot be read yet (the
// hardware back end before start-up).
bool LowLevel_ReadClockMS(uint32_t* milliseconds);

// Counted by VKR_GetFrameTime (vkr_frameClock.cpp), cleared by each back end's start-up.
extern uint32_t g_ulGP2X_FRAME_COUNT;
