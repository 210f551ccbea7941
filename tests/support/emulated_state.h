// emulated_state.h: the few emulated display settings that tests cannot see through the library
// interface, read in this one place so that a change of where the back end keeps them touches
// only this file.
#pragma once

#include "vkr_winState.h"

inline const VKR_YUVPlane& EmulatedYUVPlane(int plane) { return g_YUVPlane[plane ? 0 : 1]; }
inline const VKR_RGBRegion& EmulatedRGBRegion(int region) { return g_RGBLayerRegion[region]; }
inline uint32_t EmulatedRGBStartAddress() { return g_ulRGBVideoMemOffset; }
