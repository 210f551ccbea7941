// vkr_gp2xTVEncoder.h: the TV encoder's calls that other hardware back-end files make: the output
// switching of a display-mode change and the caption status poll of the caption queue.
#pragma once

#include <cstdint>

// Output switching between LCD, NTSC and PAL when the display mode goes from oldMode to newMode:
// the LCD and encoder lines, the encoder reset and the encoder register set of the new standard.
// Runs before the display controller is reprogrammed. Encoder acknowledge failures are ignored.
void GP2X_SwitchTVOutput(uint32_t oldMode, uint32_t newMode);

// True while the encoder cannot take a caption pair: status busy, or the status read failed.
bool GP2X_TVEncoderBusy();
// The bus's delay unit follows the processor clock (in units of 100 Hz) set at start-up and by
// VKR_SetCPUClock, so it stays just above the encoder's timing at any clock.
void GP2X_FollowCPUClock(uint32_t clock100Hz);
