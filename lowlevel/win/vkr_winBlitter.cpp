// vkr_winBlitter.cpp: placeholder until the software blitter lands.
#include "vkr_winState.h"

uint32_t VKR_HwBitBlt(uint32_t, uint32_t, uint16_t, uint16_t, uint32_t, uint32_t, uint32_t flags,
                      uint16_t, uint16_t, uint16_t) {
  return (flags & 0xFF) > 15 ? VKR_BAD_ARGUMENT : VKR_OK;
}
