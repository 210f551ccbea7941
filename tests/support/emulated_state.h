// emulated_state.h: the few emulated display settings that tests cannot see through the library
// interface, read in this one place so that a change of where the back end keeps them touches
// only this file.
#pragma once

#include "disp_model.h"
#include "vkr_winHost.h"

// plane: 1 plane A, 0 plane B, as the library's operations number them.
inline const DISP_YUVPlane& EmulatedYUVPlane(int plane) {
  return VKR_WinDisplayModel().yuvPlane[plane ? 0 : 1];
}
inline const DISP_RGBRegion& EmulatedRGBRegion(int region) {
  return VKR_WinDisplayModel().rgbLayerRegion[region];
}
inline uint32_t EmulatedRGBStartAddress() { return VKR_WinDisplayModel().rgbVideoMemOffset; }
