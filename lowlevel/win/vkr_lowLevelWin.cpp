// vkr_lowLevelWin.cpp: the desktop back end's start-up and shutdown, its window, and every setting
// of the emulated display controller (display mode, RGB layer, YUV planes, colour adjustment,
// gamma, cursor, OSD and sub-picture planes), with the system controls the desktop answers.
// It owns the state declared in vkr_winState.h; the compositor reads it.
#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "vkr_backendClock.h"
#include "vkr_winHost.h"
#include "vkr_winState.h"
#include "vkr_winWindow.h"

uint8_t* g_GP2X_VIDEO_BASE_PTR = nullptr;
uint8_t* g_pGP2X_DUALCORE_MEM = nullptr;

DISP_Model g_displayModel{};

uint32_t& g_ulDISPLAY_MODE = g_displayModel.displayMode;
int& g_nColorBitDepth = g_displayModel.colorBitDepth;
int& g_nScreenSizeX = g_displayModel.screenSizeX;
int& g_nScreenSizeY = g_displayModel.screenSizeY;
uint32_t& g_ulRGBVideoMemOffset = g_displayModel.rgbVideoMemOffset;
std::array<uint32_t, 256>& g_ulRGBColorTable = g_displayModel.rgbColorTable;
uint32_t& g_ulRegionColorKey = g_displayModel.regionColorKey;
std::array<DISP_RGBRegion, 6>& g_RGBLayerRegion = g_displayModel.rgbLayerRegion;

std::array<DISP_YUVPlane, 2>& g_YUVPlane = g_displayModel.yuvPlane;
std::array<DISP_YUVScale, 4>& g_YUVScaler = g_displayModel.yuvScaler;
int& g_bYUVFirstPlanePriority = g_displayModel.yuvFirstPlanePriority;
int8_t& g_scYUVBrightness = g_displayModel.yuvBrightness;
uint8_t& g_ucYUVContrast = g_displayModel.yuvContrast;
std::array<int8_t, 4>& g_sMLC_HUECb_A = g_displayModel.hueCbA;
std::array<int8_t, 4>& g_sMLC_HUECb_B = g_displayModel.hueCbB;
std::array<int8_t, 4>& g_sMLC_HUECr_A = g_displayModel.hueCrA;
std::array<int8_t, 4>& g_sMLC_HUECr_B = g_displayModel.hueCrB;
int& g_bEnableGamma = g_displayModel.enableGamma;
std::array<uint32_t, 256>& g_ulGammaTable = g_displayModel.gammaTable;

DISP_CursorLayer& g_cursorLayer = g_displayModel.cursorLayer;

int& g_bOSDLayerEnable = g_displayModel.osdLayerEnable;
uint32_t& g_ulOSDHeaderEvenField = g_displayModel.osdHeaderEvenField;
uint32_t& g_ulOSDHeaderOddField = g_displayModel.osdHeaderOddField;
std::array<uint32_t, 256>& g_ulOSDPalette = g_displayModel.osdPalette;
int& g_bSPULayerEnable = g_displayModel.spuLayerEnable;
int& g_bSPUonTopOfOSDLayer = g_displayModel.spuOnTopOfOSDLayer;
int& g_bSPUHighlight = g_displayModel.spuHighlight;
uint32_t& g_ulSPUBaseCmdMemOffset = g_displayModel.spuBaseCmdMemOffset;
uint32_t& g_ulSPUHighlightInfoMemOffset = g_displayModel.spuHighlightInfoMemOffset;
std::array<uint32_t, 16>& g_ulSPUColorPalette = g_displayModel.spuColorPalette;

int g_bGP2XBatteryLEDState = 0;

std::array<uint8_t, DISP_MAX_OUTPUT_PIXELS * 3> g_ucFrameSurface{};
std::array<uint8_t, DISP_MAX_OUTPUT_PIXELS> g_ucByteWriteOnPlane{};

const DISP_Model& VKR_WinDisplayModel() { return g_displayModel; }
const uint8_t* VKR_WinComposedFrame() { return g_ucFrameSurface.data(); }

DISP_Surface VKR_WinFrameSurface() {
  return {g_ucFrameSurface.data(), g_ucByteWriteOnPlane.data(), g_ucByteWriteOnPlane.size()};
}

// Owned by the input, second-core and capture files; reset here at every start.
void VKR_WinResetInput();
void VKR_WinResetDualCore();
void VKR_WinResetCapture();
void VKR_WinStopDualCoreThread();

static const char* strWindowTitle = "";
static uint32_t ulStartupDisplayMode = 0;

void VKR_WinSetStartupDisplayMode(uint32_t mode) {
  ulStartupDisplayMode = mode <= VKR_MAX_DISPLAY_MODE ? mode : 0;
}

bool VKR_WinIsStarted() { return g_GP2X_VIDEO_BASE_PTR != nullptr; }
DISP_Output VKR_WinOutput() { return DISP_OutputOfMode(g_ulDISPLAY_MODE); }
int VKR_WinOutputWidth() { return DISP_OutputWidth(VKR_WinOutput()); }
int VKR_WinOutputHeight() { return DISP_OutputHeight(VKR_WinOutput()); }

static bool OpenWindow() {
  return VKR_WinOpenWindow(VKR_WinOutputWidth(), VKR_WinOutputHeight()) != nullptr;
}

static void SetInitialState() {
  DISP_InitModel(&g_displayModel, ulStartupDisplayMode);
  g_bGP2XBatteryLEDState = 0;
  g_ulGP2X_FRAME_COUNT = 0;
  VKR_WinResetInput();
  VKR_WinResetDualCore();
  VKR_WinResetCapture();
}

static void ReleaseEverything() {
  VKR_WinStopDualCoreThread();
  if (SDL_WasInit(SDL_INIT_VIDEO)) SDL_QuitSubSystem(SDL_INIT_VIDEO);
  VKR_WinCloseWindow();
  std::free(g_pGP2X_DUALCORE_MEM);
  g_pGP2X_DUALCORE_MEM = nullptr;
  std::free(g_GP2X_VIDEO_BASE_PTR);
  g_GP2X_VIDEO_BASE_PTR = nullptr;
}

uint32_t VKR_InitLowLevelAPI(const char* title) {
  std::puts("GP2X Low-Level Library v" VKR_LIBRARY_VERSION);
  if (VKR_WinIsStarted()) ReleaseEverything();
  strWindowTitle = title ? title : "";

  g_GP2X_VIDEO_BASE_PTR = static_cast<uint8_t*>(std::calloc(VKR_VIDEO_MEMORY_SIZE, 1));
  g_pGP2X_DUALCORE_MEM = static_cast<uint8_t*>(std::calloc(VKR_DUALCORE_MEMORY_SIZE, 1));
  if (!g_GP2X_VIDEO_BASE_PTR || !g_pGP2X_DUALCORE_MEM) {
    SDL_SetError("out of memory for video memory and the second-core block");
    ReleaseEverything();
    return VKR_ERROR;
  }
  SetInitialState();
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0 || !OpenWindow()) {
    ReleaseEverything();
    return VKR_ERROR;
  }
  SDL_WM_SetCaption(strWindowTitle, strWindowTitle);
  SDL_ShowCursor(SDL_DISABLE);
  return VKR_OK;
}

uint32_t VKR_FreeLowLevelAPI(int /*returnToLauncher*/) {
  ReleaseEverything();
  return VKR_OK;
}

// ---- Display mode and video memory ---------------------------------------------------------

uint32_t VKR_SetDisplayMode(uint32_t mode, int depth) {
  if (!VKR_WinIsStarted()) return VKR_ERROR;
  if (mode > VKR_MAX_DISPLAY_MODE || (depth != 4 && depth != 8 && depth != 16 && depth != 24))
    return VKR_BAD_ARGUMENT;
  g_ulDISPLAY_MODE = mode;
  g_nColorBitDepth = depth;
  g_nScreenSizeX = kDISP_LayerSizeOfMode[mode].width;
  g_nScreenSizeY = kDISP_LayerSizeOfMode[mode].height;
  OpenWindow();
  SDL_WM_SetCaption(strWindowTitle, strWindowTitle);
  g_cursorLayer.enable = 0;
  g_YUVPlane[0].enable = 0;
  g_YUVPlane[1].enable = 0;
  DISP_ResetRegions(&g_displayModel);
  return VKR_OK;
}

uint32_t VKR_GetDisplayMode(uint32_t* mode, int* depth) {
  if (!mode || !depth) return VKR_BAD_ARGUMENT;
  if (!VKR_WinIsStarted()) return VKR_ERROR;
  *mode = g_ulDISPLAY_MODE;
  *depth = g_nColorBitDepth;
  return VKR_OK;
}

uint32_t VKR_GetDisplaySize(int* width, int* height) {
  if (!width || !height) return VKR_BAD_ARGUMENT;
  if (!VKR_WinIsStarted()) return VKR_ERROR;
  *width = g_nScreenSizeX;
  *height = g_nScreenSizeY;
  return VKR_OK;
}

uint32_t VKR_InterlaceSwitch() { return VKR_OK; }

uint32_t VKR_GetVideoBasePtr(uint8_t** base) {
  if (!base) return VKR_BAD_ARGUMENT;
  *base = g_GP2X_VIDEO_BASE_PTR;
  return VKR_WinIsStarted() ? VKR_OK : VKR_ERROR;
}

uint8_t* VKR_GetVideoPtrOn920(uint32_t offset) {
  if (!VKR_WinIsStarted() || offset >= VKR_VIDEO_MEMORY_SIZE) return nullptr;
  return g_GP2X_VIDEO_BASE_PTR + offset;
}

// ---- RGB layer -----------------------------------------------------------------------------

uint32_t VKR_SetRGBStartAddress(uint32_t offset) {
  if (!VKR_WinIsStarted()) return VKR_ERROR;
  if (offset >= VKR_VIDEO_MEMORY_SIZE) return VKR_BAD_ARGUMENT;
  g_ulRGBVideoMemOffset = offset & ~3u;
  return VKR_OK;
}

uint32_t VKR_SetPalette(uint16_t first, const uint32_t* entries, uint16_t count) {
  if (!VKR_WinIsStarted()) return VKR_ERROR;
  if (count == 0 || first + count > 256 || !entries) return VKR_BAD_ARGUMENT;
  std::memcpy(&g_ulRGBColorTable[first], entries, count * sizeof(uint32_t));
  return VKR_OK;
}

uint32_t VKR_SetRGBRegionColorKey(uint32_t key) {
  if (!VKR_WinIsStarted()) return VKR_ERROR;
  g_ulRegionColorKey = key;
  return VKR_OK;
}

uint32_t VKR_SetRGBRegionOperation(uint32_t region, uint32_t active, uint32_t visible,
                                   uint16_t operation, uint16_t alpha, uint16_t left,
                                   uint16_t top, uint16_t right, uint16_t bottom) {
  if (!VKR_WinIsStarted()) return VKR_ERROR;
  if (region < 1 || region > 5) return VKR_BAD_ARGUMENT;
  g_RGBLayerRegion[region] = {active, visible, operation, alpha, left, right, top, bottom};
  return VKR_OK;
}

// ---- YUV layer -----------------------------------------------------------------------------

uint32_t VKR_SetYUVVideoPlane(uint32_t plane, uint32_t enable, uint16_t left, uint16_t top,
                              uint16_t right, uint16_t bottom, uint16_t split, uint16_t pitch,
                              uint32_t topOffset, uint32_t topMirror, uint32_t topFlip,
                              uint32_t bottomOffset, uint32_t bottomMirror, uint32_t bottomFlip) {
  if (!VKR_WinIsStarted()) return VKR_ERROR;
  g_YUVPlane[plane ? 0 : 1] = {enable,    left,         top,          right,     bottom,
                               split,     pitch,        topOffset,    bottomOffset,
                               topMirror, topFlip,      bottomMirror, bottomFlip};
  return VKR_OK;
}

uint32_t VKR_SetYUVVideoPlaneScaler(uint32_t plane, uint32_t part, uint16_t horizontal,
                                    uint16_t vertical) {
  if (!VKR_WinIsStarted()) return VKR_ERROR;
  g_YUVScaler[2 * (plane == 0) + (part == 0)] = {horizontal, vertical};
  return VKR_OK;
}

uint32_t VKR_SetYUVVideoPlanePriority(uint32_t planeAFirst) {
  if (!VKR_WinIsStarted()) return VKR_ERROR;
  g_bYUVFirstPlanePriority = static_cast<int>(planeAFirst);
  return VKR_OK;
}

uint32_t VKR_SetYUVBrightness(int8_t brightness) {
  if (!VKR_WinIsStarted()) return VKR_ERROR;
  g_scYUVBrightness = brightness;
  return VKR_OK;
}

uint32_t VKR_SetYUVContrast(uint8_t contrast) {
  if (!VKR_WinIsStarted()) return VKR_ERROR;
  if (contrast > 7) return VKR_BAD_ARGUMENT;
  g_ucYUVContrast = contrast;
  return VKR_OK;
}

uint32_t VKR_SetYUVSaturationAndHUE(uint32_t quadrant, uint8_t saturation, uint8_t hue) {
  if (!VKR_WinIsStarted()) return VKR_ERROR;
  DISP_SetHueCoefficients(&g_displayModel, quadrant % 4, saturation, hue);
  return VKR_OK;
}

uint32_t VKR_EnableGamma(uint32_t enable) {
  if (!VKR_WinIsStarted()) return VKR_ERROR;
  g_bEnableGamma = static_cast<int>(enable);
  return VKR_OK;
}

uint32_t VKR_SetGamma(uint16_t first, const uint32_t* entries, uint16_t count) {
  if (!VKR_WinIsStarted()) return VKR_ERROR;
  if (first + count > 256 || !entries) return VKR_BAD_ARGUMENT;
  if (count) std::memcpy(&g_ulGammaTable[first], entries, count * sizeof(uint32_t));
  return VKR_OK;
}

// ---- Cursor --------------------------------------------------------------------------------

uint32_t VKR_SetCursorParams(uint32_t enable, uint16_t size, uint32_t color1, uint32_t color0,
                             uint32_t bitmapOffset) {
  if (!VKR_WinIsStarted()) return VKR_ERROR;
  if ((size != 32 && size != 64) || bitmapOffset >= VKR_VIDEO_MEMORY_SIZE) return VKR_BAD_ARGUMENT;
  g_cursorLayer.enable = enable;
  g_cursorLayer.large = size == 64;
  g_cursorLayer.color1 = color1;
  g_cursorLayer.color0 = color0;
  g_cursorLayer.bitmapOffset = bitmapOffset & ~3u;
  return VKR_OK;
}

uint32_t VKR_MoveCursor(uint16_t x, uint16_t y) {
  if (!VKR_WinIsStarted()) return VKR_ERROR;
  g_cursorLayer.x = x;
  g_cursorLayer.y = y;
  return VKR_OK;
}

// ---- OSD and sub-picture planes ------------------------------------------------------------

uint32_t VKR_SetOSDPalette(uint16_t first, const uint32_t* entries, uint16_t count) {
  if (!VKR_WinIsStarted()) return VKR_ERROR;
  if (first + count > 256 || !entries) return VKR_BAD_ARGUMENT;
  if (count) std::memcpy(&g_ulOSDPalette[first], entries, count * sizeof(uint32_t));
  return VKR_OK;
}

uint32_t VKR_SetOSDPlane(uint32_t enable, uint32_t evenFieldHeader, uint32_t oddFieldHeader) {
  if (!VKR_WinIsStarted()) return VKR_ERROR;
  g_bOSDLayerEnable = static_cast<int>(enable);
  g_ulOSDHeaderEvenField = evenFieldHeader;
  g_ulOSDHeaderOddField = oddFieldHeader;
  return VKR_OK;
}

uint32_t VKR_SetSPUColor(uint16_t index, uint32_t color) {
  if (!VKR_WinIsStarted()) return VKR_ERROR;
  if (index > 15) return VKR_BAD_ARGUMENT;
  g_ulSPUColorPalette[index] = color;
  return VKR_OK;
}

uint32_t VKR_SetSPUPlane(uint32_t enable, uint32_t onTopOfOSD, uint32_t highlight,
                         uint32_t baseCmdOffset, uint32_t highlightInfoOffset) {
  if (!VKR_WinIsStarted()) return VKR_ERROR;
  g_bSPULayerEnable = static_cast<int>(enable);
  g_bSPUonTopOfOSDLayer = static_cast<int>(onTopOfOSD);
  g_bSPUHighlight = static_cast<int>(highlight);
  g_ulSPUBaseCmdMemOffset = baseCmdOffset;
  g_ulSPUHighlightInfoMemOffset = highlightInfoOffset;
  return VKR_OK;
}

// ---- System controls -----------------------------------------------------------------------

uint32_t VKR_GetBatteryLEDState() { return g_bGP2XBatteryLEDState ? VKR_LED_ON : VKR_LED_OFF; }

uint32_t VKR_SetBatteryLEDState(int on) {
  g_bGP2XBatteryLEDState = on;
  return VKR_OK;
}

uint32_t VKR_GetPowerState(uint16_t* level) {
  if (!level) return VKR_BAD_ARGUMENT;
  *level = 1023;
  return VKR_OK;
}

uint32_t VKR_GetCPUClock(int* megahertz) {
  if (!megahertz) return VKR_BAD_ARGUMENT;
  *megahertz = 199;
  return VKR_OK;
}

uint32_t VKR_SetCPUClock(uint32_t) { return VKR_NOT_SUPPORTED; }
uint32_t VKR_GetSDState() { return VKR_NOT_SUPPORTED; }
uint32_t VKR_GetHardwareModel(uint32_t*) { return VKR_NOT_SUPPORTED; }
uint32_t VKR_GetFirmwareVersion(uint32_t*) { return VKR_NOT_SUPPORTED; }
uint32_t VKR_ReadMemRegister(uint32_t, uint16_t*) { return VKR_NOT_SUPPORTED; }
uint32_t VKR_WriteMemRegister(uint32_t, uint16_t) { return VKR_NOT_SUPPORTED; }
uint32_t VKR_InCX25874(uint8_t, uint8_t*) { return VKR_NOT_SUPPORTED; }
uint32_t VKR_OutCX25874(uint8_t, uint8_t) { return VKR_NOT_SUPPORTED; }
uint32_t VKR_HIDDetection() { return VKR_NOT_SUPPORTED; }

// Only the handheld sends captions to a TV encoder.
uint32_t VKR_WriteCloseCaption(uint16_t) { return VKR_OK; }
uint32_t VKR_CC_SetChannel(uint32_t) { return VKR_OK; }
uint32_t VKR_CC_printf(const char*, ...) { return VKR_OK; }
uint32_t VKR_CC_OutputToTV() { return VKR_OK; }
