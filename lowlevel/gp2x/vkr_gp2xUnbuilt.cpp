// vkr_gp2xUnbuilt.cpp: handheld operations not built yet, answering VKR_OK; filled in by the display, TV-encoder and second-core units.
#include "vkr_gp2xState.h"

uint32_t VKR_SetDisplayMode(uint32_t, int) { return VKR_OK; }
uint32_t VKR_InterlaceSwitch() { return VKR_OK; }
uint32_t VKR_GetCurrentTVFieldOutput(int*) { return VKR_OK; }
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

uint32_t VKR_DualCoreStart(const uint32_t*, uint32_t) { return VKR_OK; }
uint32_t VKR_DualCoreStop() { return VKR_OK; }
uint32_t VKR_DualCorePause(int) { return VKR_OK; }
uint32_t VKR_DualCoreSendCmd(uint32_t) { return VKR_OK; }
uint32_t VKR_DualCoreGetSendCmdCount(uint32_t*) { return VKR_OK; }
uint32_t VKR_DualCoreGetCmdProcessedCount(uint32_t*) { return VKR_OK; }
uint32_t VKR_WaitArm940T() { return VKR_OK; }

uint32_t VKR_OutCX25874(uint8_t, uint8_t) { return VKR_OK; }
uint32_t VKR_InCX25874(uint8_t, uint8_t*) { return VKR_OK; }
uint32_t VKR_WriteCloseCaption(uint16_t) { return VKR_OK; }
uint32_t VKR_CC_SetChannel(uint32_t) { return VKR_OK; }
uint32_t VKR_CC_printf(const char*, ...) { return VKR_OK; }
uint32_t VKR_CC_OutputToTV() { return VKR_OK; }
uint32_t VKR_CC_Command(uint16_t) { return VKR_OK; }
uint32_t VKR_CC_SetAttributes(uint8_t, uint8_t) { return VKR_OK; }
