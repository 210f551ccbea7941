// stub_backend.cpp: the stub back end's operations: plain stores into its model and thin calls
// into the display component.
#include "stub_backend.h"

#include <cstdlib>

#include "disp_blitter.h"
#include "disp_records.h"

DISP_Model g_displayModel;
uint32_t g_ulDISPLAY_MODE = 0;
int g_nColorBitDepth = 16;
uint8_t* g_GP2X_VIDEO_BASE_PTR = nullptr;
DISP_CursorLayer g_cursorLayer{};
uint8_t g_ucFrameSurface[DISP_MAX_OUTPUT_PIXELS * 3];
uint8_t g_ucByteWriteOnPlane[DISP_MAX_OUTPUT_PIXELS];

uint32_t VKR_InitLowLevelAPI(const char*) {
  g_GP2X_VIDEO_BASE_PTR = static_cast<uint8_t*>(std::calloc(DISP_VIDEO_MEMORY_SIZE, 1));
  DISP_InitModel(&g_displayModel, 0);
  return g_GP2X_VIDEO_BASE_PTR ? 0 : 1;
}

uint32_t VKR_FreeLowLevelAPI(int) {
  std::free(g_GP2X_VIDEO_BASE_PTR);
  g_GP2X_VIDEO_BASE_PTR = nullptr;
  return 0;
}

uint32_t VKR_SetDisplayMode(uint32_t mode, int depth) {
  if (mode > DISP_MAX_DISPLAY_MODE) return 4;
  g_ulDISPLAY_MODE = g_displayModel.displayMode = mode;
  g_nColorBitDepth = g_displayModel.colorBitDepth = depth;
  g_displayModel.screenSizeX = kDISP_LayerSizeOfMode[mode].width;
  g_displayModel.screenSizeY = kDISP_LayerSizeOfMode[mode].height;
  DISP_ResetRegions(&g_displayModel);
  return 0;
}

uint32_t VKR_SetRGBStartAddress(uint32_t offset) {
  g_displayModel.rgbVideoMemOffset = offset & ~3u;
  return 0;
}

uint32_t VKR_WriteOSDHeader(uint32_t header, uint32_t next, uint32_t left, uint32_t top,
                            uint32_t right, uint32_t bottom, uint32_t bitsPerPixel,
                            uint32_t compressed, uint32_t alphaEnable, uint32_t colorKeyEnable,
                            uint32_t alpha, uint32_t keyIndex) {
  if (!DISP_InVideoMemory(header, kDISP_OSDHeaderBytes)) return 4;
  const uint32_t sizeCode = bitsPerPixel == 2 ? 0 : bitsPerPixel == 4 ? 1 : 2;
  DISP_WriteOSDHeader(g_GP2X_VIDEO_BASE_PTR + header,
                      {next, top, bottom, left, right, alpha, alphaEnable, colorKeyEnable,
                       compressed, next >= DISP_VIDEO_MEMORY_SIZE, sizeCode, keyIndex});
  return 0;
}

uint32_t VKR_HwBitBlt(uint32_t dstOffset, uint32_t dstPitch, uint16_t width, uint16_t height,
                      uint32_t srcOffset, uint32_t srcPitch, uint32_t flags, uint16_t colorKey,
                      uint16_t background, uint16_t foreground) {
  const uint32_t pixelBytes = (flags & 0x100) ? 1 : 2;
  const DISP_BlitOp op = {dstOffset,
                          srcOffset,
                          uint64_t{dstPitch} * pixelBytes,
                          uint64_t{srcPitch} * pixelBytes,
                          width,
                          height,
                          flags & 0xFF,
                          pixelBytes,
                          (flags & 0x200) != 0,
                          (flags & 0xFC00) != 0,
                          colorKey,
                          background,
                          foreground};
  return DISP_Blit(op, g_GP2X_VIDEO_BASE_PTR) ? 0 : 4;
}

uint32_t VKR_LowLevelAPI_SoftRender() {
  const DISP_Surface surface = {g_ucFrameSurface, g_ucByteWriteOnPlane, DISP_MAX_OUTPUT_PIXELS};
  return DISP_ComposeFrame(g_displayModel, g_GP2X_VIDEO_BASE_PTR, surface, DISP_BestKernels()) ? 0
                                                                                               : 1;
}
