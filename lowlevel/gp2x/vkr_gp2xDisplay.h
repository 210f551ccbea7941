// vkr_gp2xDisplay.h: what the display-controller files of the hardware back end share: the
// handheld's mode table, video-memory offsets as the controller's physical addresses, and the
// colour-table writer of the palettes and gamma.
#pragma once

#include "disp_model.h"
#include "vkr_gp2xState.h"

// The RGB layer size of mode 0 to 32 on the handheld (184 and 96 where the table has 180 and 90).
DISP_LayerSize GP2X_LayerSizeOfMode(uint32_t mode);

inline uint32_t GP2X_PhysicalAddress(uint32_t offset) { return offset + g_ulGP2X_VIDEO_PHYS_ADDR; }

// count entries from `first` through an auto-advancing index register: each entry as its low
// half, then its high half (OSD layout: alpha nibble in bits 8-11, bits 16-23 in bits 0-7).
// 4 for a null table, count 0 or a table past entry 255; 1 while closed; else 0.
uint32_t GP2X_WriteColorTable(uint32_t indexRegister, uint32_t dataRegister, uint16_t first,
                              const uint32_t* entries, uint16_t count, bool osdLayout);
