// vkr_winState.h: the desktop back end's emulated display controller: its one display model, the
// video memory the model refers to, and the composed frame. vkr_lowLevelWin.cpp owns and writes
// them (through the interface's setters); the compositor reads them. Main thread only, no locks.
#pragma once

#include <array>
#include <cstdint>

#include "disp_compose.h"
#include "disp_model.h"
#include "vkr_lowLevel.h"

static_assert(VKR_VIDEO_MEMORY_SIZE == DISP_VIDEO_MEMORY_SIZE);
static_assert(VKR_MAX_DISPLAY_MODE == DISP_MAX_DISPLAY_MODE);

struct SDL_Surface;

// Valid between a successful VKR_InitLowLevelAPI and VKR_FreeLowLevelAPI; null otherwise.
extern uint8_t* g_GP2X_VIDEO_BASE_PTR;   // VKR_VIDEO_MEMORY_SIZE bytes
extern uint8_t* g_pGP2X_DUALCORE_MEM;    // VKR_DUALCORE_MEMORY_SIZE bytes
extern SDL_Surface* g_Screen;            // the window, 24 bits a pixel (vkr_winWindow.cpp's)

// Every display setting, in one record; the names below are its fields.
extern DISP_Model g_displayModel;

// Display mode and RGB layer.
extern uint32_t& g_ulDISPLAY_MODE;
extern int& g_nColorBitDepth;
extern int& g_nScreenSizeX;
extern int& g_nScreenSizeY;
extern uint32_t& g_ulRGBVideoMemOffset;
extern std::array<uint32_t, 256>& g_ulRGBColorTable;
extern uint32_t& g_ulRegionColorKey;
extern std::array<DISP_RGBRegion, 6>& g_RGBLayerRegion;  // index 1 to 5; 0 is unused

// YUV planes: index 0 plane A, 1 plane B. Scalers: A top, A bottom, B top, B bottom.
extern std::array<DISP_YUVPlane, 2>& g_YUVPlane;
extern std::array<DISP_YUVScale, 4>& g_YUVScaler;
extern int& g_bYUVFirstPlanePriority;
extern int8_t& g_scYUVBrightness;
extern uint8_t& g_ucYUVContrast;
extern std::array<int8_t, 4>& g_sMLC_HUECb_A;
extern std::array<int8_t, 4>& g_sMLC_HUECb_B;
extern std::array<int8_t, 4>& g_sMLC_HUECr_A;
extern std::array<int8_t, 4>& g_sMLC_HUECr_B;
extern int& g_bEnableGamma;
extern std::array<uint32_t, 256>& g_ulGammaTable;

extern DISP_CursorLayer& g_cursorLayer;

// OSD and sub-picture.
extern int& g_bOSDLayerEnable;
extern uint32_t& g_ulOSDHeaderEvenField;
extern uint32_t& g_ulOSDHeaderOddField;
extern std::array<uint32_t, 256>& g_ulOSDPalette;
extern int& g_bSPULayerEnable;
extern int& g_bSPUonTopOfOSDLayer;
extern int& g_bSPUHighlight;
extern uint32_t& g_ulSPUBaseCmdMemOffset;
extern uint32_t& g_ulSPUHighlightInfoMemOffset;
extern std::array<uint32_t, 16>& g_ulSPUColorPalette;

extern int g_bGP2XBatteryLEDState;

// The composed frame: output width x height pixels, three bytes each (Y, Cb, Cr while the YUV
// layers are drawn, then blue, green, red), rows back to back; and one written-pixel flag a
// pixel. Sized for the largest output; the compositor owns their contents.
extern std::array<uint8_t, DISP_MAX_OUTPUT_PIXELS * 3> g_ucFrameSurface;
extern std::array<uint8_t, DISP_MAX_OUTPUT_PIXELS> g_ucByteWriteOnPlane;

// The composed frame as the compositor takes it.
DISP_Surface VKR_WinFrameSurface();

// Which conversion kernels the desktop's compositions run: the best the processor has.
extern DISP_Kernels g_nWinComposeKernels;

// True between a successful start and the free.
bool VKR_WinIsStarted();
DISP_Output VKR_WinOutput();
int VKR_WinOutputWidth();
int VKR_WinOutputHeight();

// Copies the composed frame into the window, scaled, and shows it (vkr_winPresent.cpp).
void VKR_WinPresentFrame();
// Waits for the window's next frame where the window has a refresh to wait for (a web page's
// animation frames); on the desktop it returns at once.
void VKR_WinWaitForDisplayFrame();
// Runs the commands waiting for a second core that runs on the caller (vkr_winDualCore.cpp).
void VKR_WinRunPendingSecondCoreCommands();
