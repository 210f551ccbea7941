// vkr_lowLevelWin.cpp: the desktop back end's start-up and shutdown, its window, and every setting
// of the emulated display controller (display mode, RGB layer, YUV planes, colour adjustment,
// gamma, cursor, OSD and sub-picture planes), with the system controls the desktop answers.
// It owns the state declared in vkr_winState.h; the compositor reads it.
#include <SDL.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "vkr_winHost.h"
#include "vkr_winState.h"

uint8_t* g_GP2X_VIDEO_BASE_PTR = nullptr;
uint8_t* g_pGP2X_DUALCORE_MEM = nullptr;
SDL_Surface* g_Screen = nullptr;

uint32_t g_ulDISPLAY_MODE = 0;
int g_nColorBitDepth = 16;
int g_nScreenSizeX = 320, g_nScreenSizeY = 240;
uint32_t g_ulRGBVideoMemOffset = 0;
std::array<uint32_t, 256> g_ulRGBColorTable{};
uint32_t g_ulRegionColorKey = 0;
std::array<VKR_RGBRegion, 6> g_RGBLayerRegion{};

std::array<VKR_YUVPlane, 2> g_YUVPlane{};
std::array<VKR_YUVScale, 4> g_YUVScaler{};
int g_bYUVFirstPlanePriority = 1;
int8_t g_scYUVBrightness = 0;
uint8_t g_ucYUVContrast = 0;
std::array<int8_t, 4> g_sMLC_HUECb_A{}, g_sMLC_HUECb_B{}, g_sMLC_HUECr_A{}, g_sMLC_HUECr_B{};
int g_bEnableGamma = 0;
std::array<uint32_t, 256> g_ulGammaTable{};

VKR_CursorLayer g_cursorLayer{};

int g_bOSDLayerEnable = 0;
uint32_t g_ulOSDHeaderEvenField = 0, g_ulOSDHeaderOddField = 0;
std::array<uint32_t, 256> g_ulOSDPalette{};
int g_bSPULayerEnable = 0, g_bSPUonTopOfOSDLayer = 0, g_bSPUHighlight = 0;
uint32_t g_ulSPUBaseCmdMemOffset = 0, g_ulSPUHighlightInfoMemOffset = 0;
std::array<uint32_t, 16> g_ulSPUColorPalette{};

int g_bGP2XBatteryLEDState = 0;

std::array<uint8_t, VKR_MAX_OUTPUT_PIXELS * 3> g_ucFrameSurface{};
std::array<uint8_t, VKR_MAX_OUTPUT_PIXELS> g_ucByteWriteOnPlane{};

// Owned by the input, second-core and capture files; reset here at every start.
void VKR_WinResetInput();
void VKR_WinResetDualCore();
void VKR_WinResetCapture();
void VKR_WinStopDualCoreThread();
extern uint32_t g_ulGP2X_FRAME_COUNT;

static const char* strWindowTitle = "";
static uint32_t ulStartupDisplayMode = 0;

void VKR_WinSetStartupDisplayMode(uint32_t mode) {
  ulStartupDisplayMode = mode <= VKR_MAX_DISPLAY_MODE ? mode : 0;
}

bool VKR_WinIsStarted() { return g_GP2X_VIDEO_BASE_PTR != nullptr; }
VKR_Output VKR_WinOutput() { return VKR_OutputOfMode(g_ulDISPLAY_MODE); }
int VKR_WinOutputWidth() { return VKR_OutputWidth(VKR_WinOutput()); }
int VKR_WinOutputHeight() { return VKR_OutputHeight(VKR_WinOutput()); }

static bool OpenWindow() {
  g_Screen = SDL_SetVideoMode(VKR_WinOutputWidth(), VKR_WinOutputHeight(), 24, SDL_SWSURFACE);
  return g_Screen != nullptr;
}

// Regions 1 to 5 inactive and visible, then region 5 active: the whole RGB layer shows.
static void ResetRegions() {
  for (int region = 1; region <= 5; ++region) {
    g_RGBLayerRegion[region].active = 0;
    g_RGBLayerRegion[region].visible = 1;
  }
  g_RGBLayerRegion[5].active = 1;
}

// 127 x sin(2 pi i / 256), truncated toward zero.
static const std::array<int, 256>& HueSineTable() {
  static const std::array<int, 256> table = [] {
    std::array<int, 256> t{};
    for (int i = 0; i < 256; ++i) t[i] = static_cast<int>(127.0 * std::sin(2.0 * M_PI * i / 256.0));
    return t;
  }();
  return table;
}

static void SetHueCoefficients(uint32_t quadrant, int saturation, int hue) {
  const std::array<int, 256>& sine = HueSineTable();
  const int s = saturation * sine[hue & 255];
  const int c = saturation * sine[(hue + 64) & 255];
  g_sMLC_HUECb_A[quadrant] = static_cast<int8_t>(c >> 8);
  g_sMLC_HUECb_B[quadrant] = static_cast<int8_t>(s >> 8);
  g_sMLC_HUECr_A[quadrant] = static_cast<int8_t>((-s) >> 8);
  g_sMLC_HUECr_B[quadrant] = static_cast<int8_t>(c >> 8);
}

static void SetInitialState() {
  g_ulDISPLAY_MODE = ulStartupDisplayMode;
  g_nColorBitDepth = 16;
  g_nScreenSizeX = kVKR_LayerSizeOfMode[ulStartupDisplayMode].width;
  g_nScreenSizeY = kVKR_LayerSizeOfMode[ulStartupDisplayMode].height;
  g_ulRGBVideoMemOffset = 0;
  g_ulRGBColorTable.fill(0);
  g_ulRegionColorKey = 0;
  g_RGBLayerRegion = {};
  ResetRegions();
  g_YUVPlane = {};
  g_YUVScaler.fill({1024, 1024});
  g_bYUVFirstPlanePriority = 1;
  g_scYUVBrightness = 0;
  g_ucYUVContrast = 0;
  for (uint32_t quadrant = 0; quadrant < 4; ++quadrant) SetHueCoefficients(quadrant, 128, 0);
  g_bEnableGamma = 0;
  for (uint32_t i = 0; i < 256; ++i) g_ulGammaTable[i] = i * 0x010101u;
  g_cursorLayer = {};
  g_bOSDLayerEnable = 0;
  g_ulOSDHeaderEvenField = g_ulOSDHeaderOddField = 0;
  g_ulOSDPalette.fill(0);
  g_bSPULayerEnable = g_bSPUonTopOfOSDLayer = g_bSPUHighlight = 0;
  g_ulSPUBaseCmdMemOffset = g_ulSPUHighlightInfoMemOffset = 0;
  g_ulSPUColorPalette.fill(0);
  g_bGP2XBatteryLEDState = 0;
  g_ulGP2X_FRAME_COUNT = 0;
  VKR_WinResetInput();
  VKR_WinResetDualCore();
  VKR_WinResetCapture();
}

static void ReleaseEverything() {
  VKR_WinStopDualCoreThread();
  if (SDL_WasInit(SDL_INIT_VIDEO)) SDL_QuitSubSystem(SDL_INIT_VIDEO);
  g_Screen = nullptr;
  std::free(g_pGP2X_DUALCORE_MEM);
  g_pGP2X_DUALCORE_MEM = nullptr;
  std::free(g_GP2X_VIDEO_BASE_PTR);
  g_GP2X_VIDEO_BASE_PTR = nullptr;
}

uint32_t VKR_InitLowLevelAPI(const char* title) {
  std::puts("GP2X Low-Level Library v1.00");
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

// Whether VKR_WinPresentFrame shows anything; main thread only.
static bool bPresenting = true;

void VKR_WinSetPresenting(bool present) { bPresenting = present; }

void VKR_WinPresentFrame() {
  if (!g_Screen || !bPresenting) return;
  const int width = VKR_WinOutputWidth();
  const int height = VKR_WinOutputHeight();
  if (g_Screen->w != width || g_Screen->h != height) return;
  if (SDL_MUSTLOCK(g_Screen) && SDL_LockSurface(g_Screen) != 0) return;
  const SDL_PixelFormat* format = g_Screen->format;
  uint8_t* pixels = static_cast<uint8_t*>(g_Screen->pixels);
  const uint8_t* frame = g_ucFrameSurface.data();
  const size_t rowBytes = static_cast<size_t>(width) * 3;
  if (format->BytesPerPixel == 3 && format->Bmask == 0x0000FF && format->Rmask == 0xFF0000) {
    for (int y = 0; y < height; ++y)
      std::memcpy(pixels + static_cast<size_t>(y) * g_Screen->pitch, frame + y * rowBytes, rowBytes);
  } else {
    // The window came in another format: convert pixel by pixel.
    for (int y = 0; y < height; ++y) {
      uint8_t* row = pixels + static_cast<size_t>(y) * g_Screen->pitch;
      for (int x = 0; x < width; ++x) {
        const uint8_t* bgr = frame + y * rowBytes + x * 3;
        const uint32_t pixel = SDL_MapRGB(g_Screen->format, bgr[2], bgr[1], bgr[0]);
        std::memcpy(row + x * format->BytesPerPixel, &pixel, format->BytesPerPixel);
      }
    }
  }
  if (SDL_MUSTLOCK(g_Screen)) SDL_UnlockSurface(g_Screen);
  SDL_UpdateRect(g_Screen, 0, 0, width, height);
}

// ---- Display mode and video memory ---------------------------------------------------------

uint32_t VKR_SetDisplayMode(uint32_t mode, int depth) {
  if (!VKR_WinIsStarted()) return VKR_ERROR;
  if (mode > VKR_MAX_DISPLAY_MODE || (depth != 4 && depth != 8 && depth != 16 && depth != 24))
    return VKR_BAD_ARGUMENT;
  g_ulDISPLAY_MODE = mode;
  g_nColorBitDepth = depth;
  g_nScreenSizeX = kVKR_LayerSizeOfMode[mode].width;
  g_nScreenSizeY = kVKR_LayerSizeOfMode[mode].height;
  OpenWindow();
  SDL_WM_SetCaption(strWindowTitle, strWindowTitle);
  g_cursorLayer.enable = 0;
  g_YUVPlane[0].enable = 0;
  g_YUVPlane[1].enable = 0;
  ResetRegions();
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
  SetHueCoefficients(quadrant % 4, saturation, hue);
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
