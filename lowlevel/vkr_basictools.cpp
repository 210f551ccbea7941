// vkr_basictools.cpp: placeholder until the memory helpers land.
#include "vkr_lowLevel.h"

uint32_t VKR_OUTPUT_DEBUG(uint32_t, uint32_t, const char*, ...) { return VKR_OK; }
