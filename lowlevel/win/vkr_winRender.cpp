// vkr_winRender.cpp: the desktop's frame: the display component composes the model into the frame
// surface, then the window shows it, the pause, capture and the host's frame hook follow. The
// composition's steps are offered alone as the interface names them.
#include "vkr_winHost.h"
#include "vkr_winState.h"

extern int g_bSaveOnDisk;
extern char g_strSaveFilePath[260];

DISP_Kernels g_nWinComposeKernels = DISP_BestKernels();

uint32_t VKR_LowLevelAPI_SoftRender() {
  if (!VKR_WinIsStarted()) return VKR_ERROR;
  DISP_ComposeFrame(g_displayModel, g_GP2X_VIDEO_BASE_PTR, VKR_WinFrameSurface(),
                    g_nWinComposeKernels);
  VKR_WinPresentFrame();
  VKR_WinSleepMS(2);
  if (g_bSaveOnDisk) VKR_LowLevelAPI_SaveBMP(g_strSaveFilePath);
  VKR_WinRunFrameHook();
  return VKR_OK;
}

uint32_t VKR_LowLevelAPI_SoftRender_YUV_Layer(uint32_t plane, uint32_t part) {
  if (!VKR_WinIsStarted()) return VKR_ERROR;
  DISP_DrawYUVPart(g_displayModel, g_GP2X_VIDEO_BASE_PTR, VKR_WinFrameSurface(), plane == 0,
                   part == 0);
  return VKR_OK;
}

uint32_t VKR_LowLevelAPI_SoftRender_OSD_Layer() {
  if (!VKR_WinIsStarted()) return VKR_ERROR;
  DISP_DrawOSD(g_displayModel, g_GP2X_VIDEO_BASE_PTR, VKR_WinFrameSurface());
  return VKR_OK;
}

uint32_t VKR_LowLevelAPI_SoftRender_OSD_Layer_Area(uint32_t header, uint32_t field) {
  if (!VKR_WinIsStarted()) return VKR_ERROR;
  DISP_DrawOSDArea(g_displayModel, g_GP2X_VIDEO_BASE_PTR, VKR_WinFrameSurface(), header,
                   field ? 1 : 0);
  return VKR_OK;
}

uint32_t VKR_LowLevelAPI_SoftRender_SPU_Layer() {
  if (!VKR_WinIsStarted()) return VKR_ERROR;
  DISP_DrawSPU(g_displayModel, g_GP2X_VIDEO_BASE_PTR, VKR_WinFrameSurface());
  return VKR_OK;
}

uint32_t VKR_LowLevelAPI_SoftRender_RGB_Layer() {
  if (!VKR_WinIsStarted()) return VKR_ERROR;
  DISP_DrawRGBLayer(g_displayModel, g_GP2X_VIDEO_BASE_PTR, VKR_WinFrameSurface());
  return VKR_OK;
}

uint32_t VKR_LowLevelAPI_SoftRender_Cursor_Layer() {
  if (!VKR_WinIsStarted()) return VKR_ERROR;
  DISP_DrawCursor(g_displayModel, g_GP2X_VIDEO_BASE_PTR, VKR_WinFrameSurface());
  return VKR_OK;
}

uint32_t VKR_LowLevelAPI_GammaCorrection() {
  if (!VKR_WinIsStarted()) return VKR_ERROR;
  DISP_ApplyGamma(g_displayModel, VKR_WinFrameSurface());
  return VKR_OK;
}
