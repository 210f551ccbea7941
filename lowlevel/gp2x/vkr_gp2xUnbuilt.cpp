// vkr_gp2xUnbuilt.cpp: the display and blitter operations of the handheld, not built yet: they answer
// VKR_OK and do nothing until the display-controller unit replaces them.
#include "vkr_gp2xState.h"

uint32_t VKR_SetDisplayMode(uint32_t, int) { return VKR_OK; }
uint32_t VKR_SetRGBStartAddress(uint32_t) { return VKR_OK; }
uint32_t VKR_SetPalette(uint16_t, const uint32_t*, uint16_t) { return VKR_OK; }
uint32_t VKR_SetRGBRegionColorKey(uint32_t) { return VKR_OK; }
uint32_t VKR_SetRGBRegionOperation(uint32_t, uint32_t, uint32_t, uint16_t, uint16_t, uint16_t,
                                   uint16_t, uint16_t, uint16_t) {
  return VKR_OK;
}
uint32_t VKR_SetYUVVideoPlane(uint32_t, uint32_t, uint16_t, uint16_t, uint16_t, uint16_t, uint16_t,
                              uint16_t, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t) {
  return VKR_OK;
}
uint32_t VKR_SetYUVVideoPlaneScaler(uint32_t, uint32_t, uint16_t, uint16_t) { return VKR_OK; }
uint32_t VKR_SetYUVVideoPlanePriority(uint32_t) { return VKR_OK; }
uint32_t VKR_SetYUVBrightness(int8_t) { return VKR_OK; }
uint32_t VKR_SetYUVContrast(uint8_t) { return VKR_OK; }
uint32_t VKR_SetYUVSaturationAndHUE(uint32_t, uint8_t, uint8_t) { return VKR_OK; }
uint32_t VKR_EnableGamma(uint32_t) { return VKR_OK; }
uint32_t VKR_SetGamma(uint16_t, const uint32_t*, uint16_t) { return VKR_OK; }
uint32_t VKR_SetCursorParams(uint32_t, uint16_t, uint32_t, uint32_t, uint32_t) { return VKR_OK; }
uint32_t VKR_MoveCursor(uint16_t, uint16_t) { return VKR_OK; }
uint32_t VKR_SetOSDPalette(uint16_t, const uint32_t*, uint16_t) { return VKR_OK; }
uint32_t VKR_SetOSDPlane(uint32_t, uint32_t, uint32_t) { return VKR_OK; }
uint32_t VKR_WriteOSDHeader(uint32_t, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t,
                            uint32_t, uint32_t, uint32_t, uint32_t, uint32_t) {
  return VKR_OK;
}
uint32_t VKR_SetSPUColor(uint16_t, uint32_t) { return VKR_OK; }
uint32_t VKR_SetSPUPlane(uint32_t, uint32_t, uint32_t, uint32_t, uint32_t) { return VKR_OK; }
uint32_t VKR_WriteSPUBaseCmd(uint32_t, uint32_t, uint32_t, uint16_t, uint16_t, uint16_t, uint16_t,
                             uint32_t, uint32_t) {
  return VKR_OK;
}
uint32_t VKR_WriteSPUChangeCmd(uint32_t, uint32_t, uint16_t, uint16_t, uint16_t, const uint16_t*,
                               const uint16_t*, const uint16_t*, const uint16_t*) {
  return VKR_OK;
}
uint32_t VKR_WriteSPUHighlightInfo(uint32_t, uint16_t, uint16_t, uint16_t, uint16_t, uint16_t,
                                   uint16_t) {
  return VKR_OK;
}
uint32_t VKR_HwBitBlt(uint32_t, uint32_t, uint16_t, uint16_t, uint32_t, uint32_t, uint32_t, uint16_t,
                      uint16_t, uint16_t) {
  return VKR_OK;
}
uint32_t VKR_HwBitBltRotate(uint32_t, uint32_t, uint16_t, uint16_t, uint32_t, uint32_t, uint32_t) {
  return VKR_OK;
}
uint32_t VKR_WaitHwBlitter(uint32_t) { return VKR_OK; }


